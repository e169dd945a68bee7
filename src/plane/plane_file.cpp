#include "plane/plane_file.h"

#include <memory>
#include <string>
#include <vector>

#include "common/binary_file.h"
#include "common/finite_values.h"
#include "common/settings_repair.h"

namespace qp {
namespace {

bool StoredPlaneValuesFinite(const PlaneNetwork& n) {
  return AllFields(n.refraction, n.projectionHeight, n.yOffset, n.sigma0, n.directionError, n.distanceFixedError,
                   n.distanceScaleError, n.x, n.y, n.h, n.direction, n.inputDirection, n.fixedAzimuth,
                   n.weightedAzimuth, n.weightedAzimuthWeight, n.reducedLength, n.reducedHeightDiff,
                   n.lineDistance, n.instrumentHeight, n.targetHeight, n.verticalAngle, n.fixedDistance,
                   n.weightedDistance, n.weightedDistanceWeight, n.knownHeight, n.labelOffsetX, n.labelOffsetY,
                   n.pointE, n.pointF, n.pointQ, n.sideMs, n.sideMt, n.sideE, n.sideF, n.sideQ, n.pairMs, n.pairMt,
                   n.pairE, n.pairF, n.pairQ, n.numberFontHeight, n.numberFontWidth, n.textFontHeight,
                   n.textFontWidth, n.maxEllipseRadius, n.maxSemiAxis, n.ellipseScale, n.warningDistance);
}

}  // namespace

bool ReadWritePlaneFile(const std::string& path, FileDirection direction, SettingsBlock& settings,
                        PlaneNetwork& net, PlatformServices* tell) {
  if (direction == FileDirection::Write) {
    return WriteRecords(path, settings, net);
  }
  auto readSettings = std::make_unique<SettingsBlock>();
  auto readNet = std::make_unique<PlaneNetwork>();
  if (!ReadRecords(path, *readSettings, *readNet) || !StoredPlaneValuesFinite(*readNet)) return false;
  // The names (UTF-8) of what was reset.
  std::vector<std::string> reset = ResetNonFiniteSettings(*readSettings);
  if (const int dropped = DropNonFiniteTraverses(*readNet)) {
    reset.push_back("导线闭合差(删除" + std::to_string(dropped) + "条)");
  }
  settings = *readSettings;
  net = *readNet;
  if (tell && !reset.empty()) tell->ShowMessage(ResetValuesMessage(reset));
  return true;
}

}  // namespace qp
