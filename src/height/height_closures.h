// The levelling lines of a confirmed height network and the closure table its
// raw-data report checks when adjusting.
#pragma once

#include <vector>

#include "common/report_file.h"
#include "height/height_model.h"

namespace qp {

// One merged levelling line between junction points.
struct LevellingLine {
  int from = -1;   // point index
  int to = -1;
  double h = 0.0;  // m, from -> to
  int sections = 0;
};

// The height differences merged into lines between junctions (known points
// and points that do not end exactly two height differences), in table order;
// none when a difference is not joined to its points.
std::vector<LevellingLine> MergeLevellingLines(const HeightModel& model);

// Fills the closure table from the lines: lines between known points, pairs of
// lines, triangles, quadrilaterals, at most the table's capacity.
void FillLoopTable(HeightModel& model, const std::vector<LevellingLine>& lines);

// The levelling lines section and the closure section; returns the next
// section number. Writes nothing with fewer than two height differences.
int LevellingLinesAndClosures(HeightModel& model, ReportFile& report, int section);

}  // namespace qp
