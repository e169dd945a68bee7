// The steps of a confirmed height network between parsing and computing:
// duplicate names, the point list with its approximate heights, the precision
// pairs and plane coordinates, the raw-data report with the levelling lines
// and the closure table. Each check shows its message and returns false.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "height/height_network.h"

namespace qp {

// Points of the network by name: the first entry of the point list with that
// name (names compared bytewise).
class HeightPointIndex {
 public:
  // The first `count` entries of the point list.
  HeightPointIndex(const HeightNetwork& net, int count);
  // -1 when the name is not a point.
  int Find(std::string_view name) const;
  // Appends a point to the lookup (the caller has stored it at `index`);
  // an earlier point of the same name keeps its place.
  void Add(std::string_view name, int index);

 private:
  std::unordered_map<std::string, int> index_;
};

// The point index of each end of every height difference (-1 where absent).
struct DifferenceEnds {
  std::vector<int> from;
  std::vector<int> to;
};
DifferenceEnds FindDifferenceEnds(const HeightNetwork& net);

bool CheckDuplicateNames(const HeightNetwork& net, PlatformServices& platform);

// Completes the point list from the height differences and the coordinate
// table, sets the point counts and propagates approximate heights to every
// point without a given one.
bool CompleteAndApproximateHeights(HeightNetwork& net, PlatformServices& platform);

bool CheckHeightPrecisionPairs(const HeightNetwork& net, PlatformServices& platform);

// Coordinates are all or nothing; they become the diagram positions.
bool CheckHeightCoordinates(HeightNetwork& net, PlatformServices& platform);

// Creates the report, writes the basic information and the input tables and,
// when adjusting, the levelling lines and closures. False when the report
// could not be created (after its message).
bool WriteHeightRawReport(HeightNetwork& net, PlatformServices& platform, const std::string& reportPath,
                          SectionNumber& section);

// One merged levelling line between junction points.
struct LevellingLine {
  int from = -1;   // point index
  int to = -1;
  double h = 0.0;  // m, from -> to
  int sections = 0;
};

// The height differences merged into lines between junctions (known points
// and points that do not end exactly two height differences), in table order.
std::vector<LevellingLine> MergeLevellingLines(const HeightNetwork& net, const DifferenceEnds& ends);

// Fills the closure table from the lines: lines between known points, pairs of
// lines, triangles, quadrilaterals, at most the table's capacity.
void FillLoopTable(HeightNetwork& net, const std::vector<LevellingLine>& lines);

// The levelling lines section and the closure section; returns the next
// section number. Writes nothing with fewer than two height differences.
int LevellingLinesAndClosures(HeightNetwork& net, ReportFile& report, int section);

}  // namespace qp
