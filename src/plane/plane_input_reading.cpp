// Reading the whole input dialog into the record: the general settings first,
// then the tables in their fixed order, then the name checks.
#include <algorithm>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "plane/plane_input_reading.h"

namespace qp {
namespace {

constexpr size_t kMaxNetworkNameBytes = 32;

void ClearTableCounts(PlaneNetwork& net) {
  for (int32_t PlaneNetwork::*count :
       {&PlaneNetwork::nameCount, &PlaneNetwork::knownCount, &PlaneNetwork::approxCount, &PlaneNetwork::directionCount,
        &PlaneNetwork::fixedAzimuthCount, &PlaneNetwork::weightedAzimuthCount, &PlaneNetwork::reducedCount,
        &PlaneNetwork::distanceLineCount, &PlaneNetwork::fixedDistanceCount, &PlaneNetwork::weightedDistanceCount,
        &PlaneNetwork::knownHeightCount, &PlaneNetwork::precisionPairCount, &PlaneNetwork::unknownPointCount,
        &PlaneNetwork::nonStationCount, &PlaneNetwork::pointCount, &PlaneNetwork::unknownCount,
        &PlaneNetwork::sideCount}) {
    net.*count = 0;
  }
}

// The general settings, the name list, and every table count set to 0.
bool ReadPlaneSettings(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform) {
  net.calcMode = form.calcMode;
  net.closureMode = form.closureMode;

  if (form.networkName.size() > kMaxNetworkNameBytes) return ShowAndFail(platform, Gbk("控制网名不得大于32个汉字 !"));
  SetSlotText(net.networkName, form.networkName);

  const double mu = LeadingNumber(form.directionError);
  net.directionError = mu < 0.001 ? 1.0 : mu;
  net.distanceFixedError = std::max(0.0, LeadingNumber(form.distanceFixedError));
  net.distanceScaleError = std::max(0.0, LeadingNumber(form.distanceScaleError));
  if (net.distanceFixedError < 0.001 && net.distanceScaleError < 0.001) {
    return ShowAndFail(platform, Gbk("固定误差和比例误差不能同时为零  !"));
  }

  net.refraction = LeadingNumber(form.refraction);
  net.yOffset = LeadingNumber(form.yOffset);
  net.projectionHeight = LeadingNumber(form.projectionHeight);
  // Every setting must give finite weights and fit its column of the report
  // header; an overflowing one is refused by name.
  const struct {
    const char* name;
    double value;
    int width;
    int decimals;
  } printed[] = {
      {"验前中误差", net.directionError, 8, 2},   {"测距固定误差", net.distanceFixedError, 8, 2},
      {"测距比例误差", net.distanceScaleError, 8, 2}, {"投影面高程", net.projectionHeight, 8, 0},
      {"折光系数", net.refraction, 8, 2},         {"Y坐标平移", net.yOffset, 9, 0},
  };
  for (const auto& setting : printed) {
    if (!FitsPrintedField(setting.value, setting.width, setting.decimals)) {
      return ShowAndFail(platform, SettingOutOfRangeMessage(setting.name));
    }
  }
  net.verticalAngleKind = form.verticalAngleKind;
  net.distanceColumnOrder = form.distanceColumnOrder;

  // The list box keeps its names in the record; the approximate-coordinate
  // step replaces them by the point names and sets the count.
  const size_t names = std::min(form.nameList.size(), static_cast<size_t>(kMaxPlanePoints));
  for (size_t i = 0; i < names; ++i) SetSlotText(net.nameList[i], form.nameList[i]);
  ClearTableCounts(net);
  return true;
}

// Every table in the fixed order: known points (with their plausibility in
// modes 2-4), approximate points, precision end-points, directions, fixed and
// weighted azimuths, distance lines followed by the reduced distances, fixed
// and weighted distances, and in modes 2-4 the known heights.
InputCheck ReadPlaneTables(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform) {
  const auto& box = form.boxes;
  CheckChain chain;
  chain(ReadKnownPoints(box[kKnownPointsBox], net, platform)) &&
      chain(ReadApproxPoints(box[kApproxPointsBox], net, platform)) &&
      chain(ReadPrecisionPairs(box[kPrecisionPairsBox], net, platform)) &&
      chain(ReadDirections(box[kDirectionsBox], net, platform)) &&
      chain(ReadFixedAzimuths(box[kFixedAzimuthsBox], net, platform)) &&
      chain(ReadWeightedAzimuths(box[kWeightedAzimuthsBox], net, platform)) &&
      chain(ReadDistanceLines(box[kDistanceLinesBox], net, platform)) && chain(FormReducedDistances(net, platform)) &&
      chain(ReadFixedDistances(box[kFixedDistancesBox], net, platform)) &&
      chain(ReadWeightedDistances(box[kWeightedDistancesBox], net, platform)) &&
      (!IsSlopeMode(net.calcMode) || chain(ReadKnownHeights(box[kKnownHeightsBox], net, platform)));
  return chain.Result();
}

}  // namespace

InputCheck ReadPlaneInput(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform) {
  if (!ReadPlaneSettings(form, net, platform)) return Refused();
  if (InputCheck tables = ReadPlaneTables(form, net, platform); !tables) return tables;
  // An estimated design has no adjusted sides and azimuths to draw.
  if (net.calcMode == kPrecisionEstimate && net.displayMode > 6) net.displayMode = 6;
  return {CheckPlaneDuplicates(net, platform), std::nullopt};
}

}  // namespace qp
