// What the drawing does to a network's diagram data after a computation,
// according to how much the network changed (its change level), and the
// "边框匹配" command. These are the functions the plane and height workflows
// are given as their diagram-preparing hooks, by the desktop document and
// by the command-line driver alike, so both store the same data file.
#pragma once

#include "common/settings_block.h"
#include "height/height_network.h"
#include "height/height_workflow.h"
#include "plane/plane_network.h"
#include "plane/plane_workflow.h"

namespace qp {

// Level 256: the sheet is fitted to the network with a newly chosen scale
// and the diagram data are rebuilt (ellipse scale, default closure texts),
// except the names the user moved, which stay beside their points. Level 128:
// the ellipse scale again. Below 256 the closure texts of traverses found
// again keep their places.
void PreparePlaneDiagram(PlaneWorkspace& ws, int changeLevel);

// Level 256: the sheet is fitted to the network with a newly chosen scale
// (the height workflow has already laid out the diagram positions). Level
// 128 and more: the repeated lines still straight bow apart at the sheet's
// scale (BowRepeatedLines).
void PrepareHeightDiagram(HeightWorkspace& ws, int changeLevel);

// "边框匹配": the sheet fitted to the network keeping its scale. False, with
// the settings unchanged, for a network without points. The caller takes over
// the canvas size and redraws.
bool MatchSheetToPlaneNetwork(SettingsBlock& settings, const PlaneNetwork& net);
bool MatchSheetToHeightNetwork(SettingsBlock& settings, const HeightNetwork& net);

}  // namespace qp
