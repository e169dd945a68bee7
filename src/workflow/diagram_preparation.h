// What the drawing does to a network's diagram data after a computation,
// according to how much the network changed (its change level). These are
// the functions the plane and height workflows are given as their
// diagram-preparing hooks, by the desktop document and by the command-line
// driver alike, so both store the same data file. (The "边框匹配" command is
// FitSheetToNetwork keeping the scale: the caller takes over the canvas size,
// tells the user of a changed scale with SheetFitMessage and redraws.)
#pragma once

#include <string>

#include "common/settings_block.h"
#include "drawing/sheet_fit.h"
#include "workflow/height_workflow.h"
#include "workflow/plane_workflow.h"

namespace qp {

// Level 256: the sheet is fitted to the network with a newly chosen scale
// and the diagram data are rebuilt (ellipse scale, default closure texts),
// except the names the user moved, which stay beside their points. Below
// 256 the ellipse scale is worked out again from the new results and the
// closure texts of traverses found again keep their places. Gives the
// message for the user when the fit had to take a larger scale (GBK), else
// an empty text.
std::string PreparePlaneDiagram(PlaneWorkspace& ws, int changeLevel);

// Level 256: the sheet is fitted to the network with a newly chosen scale
// (the height workflow has already laid out the diagram positions). Level
// 128 and more: the repeated lines still straight bow apart at the sheet's
// scale (BowRepeatedLines). The message as above.
std::string PrepareHeightDiagram(HeightWorkspace& ws, int changeLevel);

// "控制网图超出最大图纸, 比例尺改为1:%d" (GBK) after a fit that raised the
// scale, else an empty text.
std::string SheetFitMessage(const SheetFitResult& fit);

}  // namespace qp
