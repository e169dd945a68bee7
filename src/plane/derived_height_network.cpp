#include "plane/derived_height_network.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_file.h"

namespace qp {

std::string DerivedHeightPathFor(const std::string& planeDataPath) {
  return planeDataPath.substr(0, planeDataPath.size() < 4 ? 0 : planeDataPath.size() - 4) + "BPT.NAH";
}

// Every known height and every plane point has its place in the height network.
static_assert(kMaxSmallTable <= kMaxHeightPoints && kMaxPlanePoints <= kMaxHeightPoints);

namespace {

// `dataPathGbk` goes into the record's path field.
void DeriveHeightNetwork(const PlaneModel& plane, std::string_view dataPathGbk, HeightNetwork& out) {
  ResetHeightNetwork(out, dataPathGbk);
  out.mode = kHeightAdjust;
  out.derivedFlag = 1;
  out.kind = kTrigonometricNetwork;

  std::vector<uint8_t> used(plane.points.size(), 0);
  auto use = [&](int p) {
    if (p >= 0) used[p] = 1;
  };
  const int knownHeights = static_cast<int>(plane.knownHeights.size());
  for (int i = 0; i < knownHeights; ++i) {
    SetSlotText(out.pointName[i], plane.knownHeights[i].name);
    out.height[i] = plane.knownHeights[i].height;
    use(plane.knownHeights[i].point);
  }
  out.knownCount = knownHeights;

  const int distances = std::min(static_cast<int>(plane.distances.size()), kMaxHeightDifferences);
  for (int i = 0; i < distances; ++i) {
    const PlaneDistance& d = plane.distances[i];
    SetSlotText(out.from[i], d.ends.fromName);
    SetSlotText(out.to[i], d.ends.toName);
    out.observed[i] = d.heightDiff;
    out.weightElement[i] = d.length * 0.001;
    use(d.ends.from);
    use(d.ends.to);
  }
  out.observationCount = distances;

  // The plane points that take part, in plane point order: their coordinates
  // place them on the diagram, and they fill the dialog's name list.
  int copied = 0;
  for (size_t p = 0; p < plane.points.size(); ++p) {
    if (!used[p]) continue;
    SetSlotText(out.coordinateName[copied], plane.points[p].name);
    SetSlotText(out.nameList[copied], plane.points[p].name);
    out.coordinateX[copied] = plane.points[p].x;
    out.coordinateY[copied] = plane.points[p].y;
    ++copied;
  }
  out.coordinateCount = copied;
  out.nameCount = copied;
  out.derivedMarker = copied;
}

}  // namespace

DerivedHeightWrite WriteDerivedHeightNetwork(const PlaneModel& plane, const SettingsBlock& settings,
                                             const std::string& planeDataPath, HeightNetwork& out) {
  const std::string path = DerivedHeightPathFor(planeDataPath);
  DeriveHeightNetwork(plane, Utf8ToGbk(path), out);
  // The data-file rule: a file that is there and is not a height data file is
  // somebody's data, not ours to replace. (A folder in its place simply
  // cannot be written.)
  std::error_code error;
  if (FileExists(path) && !std::filesystem::is_directory(path, error) &&
      !IsRegularFileOfSize(path, kHeightFileSize)) {
    return DerivedHeightWrite::WrongFileKept;
  }
  return WriteHeightFile(path, settings, out) ? DerivedHeightWrite::Written : DerivedHeightWrite::WriteFailed;
}

const char* DerivedHeightWriteMessage(DerivedHeightWrite result) {
  switch (result) {
    case DerivedHeightWrite::Written: return nullptr;
    case DerivedHeightWrite::WrongFileKept: return "高程网数据文件错误 !";
    case DerivedHeightWrite::WriteFailed: return "高程网数据文件写入错误 !";
  }
  return nullptr;
}

}  // namespace qp
