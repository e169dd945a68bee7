#include "plane/derived_height_network.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_file.h"

namespace qp {

std::string DerivedHeightPathFor(const std::string& planeDataPath) {
  return planeDataPath.substr(0, planeDataPath.size() < 4 ? 0 : planeDataPath.size() - 4) + "BPT.NAH";
}

void DeriveHeightNetwork(const PlaneNetwork& plane, std::string_view dataPathGbk, HeightNetwork& out) {
  ResetHeightNetwork(out, dataPathGbk);
  out.mode = kHeightAdjust;
  out.derivedFlag = 1;
  out.kind = kTrigonometricNetwork;

  std::unordered_set<std::string> used;
  const int knownHeights = BoundedCount(plane.knownHeightCount, kMaxSmallTable);
  for (int i = 0; i < knownHeights; ++i) {
    SetSlotText(out.pointName[i], SlotText(plane.knownHeightName[i]));
    out.height[i] = plane.knownHeight[i];
    used.emplace(SlotText(plane.knownHeightName[i]));
  }
  out.knownCount = knownHeights;

  const int distances = std::min(BoundedCount(plane.reducedCount, kMaxReducedDistances), kMaxHeightDifferences);
  for (int i = 0; i < distances; ++i) {
    SetSlotText(out.from[i], SlotText(plane.reducedFrom[i]));
    SetSlotText(out.to[i], SlotText(plane.reducedTo[i]));
    out.observed[i] = plane.reducedHeightDiff[i];
    out.weightElement[i] = plane.reducedLength[i] * 0.001;
    used.emplace(SlotText(plane.reducedFrom[i]));
    used.emplace(SlotText(plane.reducedTo[i]));
  }
  out.observationCount = distances;

  // The plane points that take part, in plane point order: their coordinates
  // place them on the diagram, and they fill the dialog's name list.
  int copied = 0;
  for (int p = 0; p < BoundedCount(plane.pointCount, kMaxPlanePoints); ++p) {
    if (!used.count(std::string(SlotText(plane.pointName[p])))) continue;
    SetSlotText(out.coordinateName[copied], SlotText(plane.pointName[p]));
    SetSlotText(out.nameList[copied], SlotText(plane.pointName[p]));
    out.coordinateX[copied] = plane.x[p];
    out.coordinateY[copied] = plane.y[p];
    ++copied;
  }
  out.coordinateCount = copied;
  out.nameCount = copied;
  out.derivedMarker = copied;
}

DerivedHeightWrite WriteDerivedHeightNetwork(const PlaneNetwork& plane, const SettingsBlock& settings,
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
