#include "height/height_network.h"

#include <algorithm>
#include <cstring>

#include "common/diagram_fonts.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_network_layout.h"

namespace qp {

void ResetHeightNetwork(HeightNetwork& net, std::string_view dataFilePath) {
  std::memset(&net, 0, sizeof net);
  net.mode = kHeightEstimate;
  net.kind = kLevellingNetwork;
  net.sigma0 = 1.0;
  net.priorError = 1.0;
  SetSlotText(net.networkName, Gbk("控制网名"));
  SetSlotText(net.dataFilePath, dataFilePath);
  net.capacities[kCapacityPoints] = kMaxHeightPoints;
  net.capacities[kCapacityDifferences] = kMaxHeightDifferences;
  net.capacities[kCapacityPairs] = kMaxHeightPairs;
  net.capacities[kCapacityLoops] = kMaxLoopEntries;
  net.derivedMarker = -1;
  net.lastComputedPointCount = -1;

  // Diagram fonts as the plane diagram starts with them.
  SetStartingDiagramFonts(net);
}

float DifferenceError(const HeightNetwork& net, int i) {
  if (i < 0 || i >= kMaxHeightDifferences) return 0.0f;
  return i < kLowDifferenceErrors ? net.differenceErrorLow[i] : net.differenceErrorHigh[i - kLowDifferenceErrors];
}

void SetDifferenceError(HeightNetwork& net, int i, float error) {
  if (i < 0 || i >= kMaxHeightDifferences) return;
  if (i < kLowDifferenceErrors) {
    net.differenceErrorLow[i] = error;
  } else {
    net.differenceErrorHigh[i - kLowDifferenceErrors] = error;
  }
}

int BoundedCount(int32_t count, int capacity) { return std::clamp(static_cast<int>(count), 0, capacity); }

int HeightCapacityOf(const HeightNetwork& net, HeightCapacity which) {
  static constexpr int kArraySize[] = {kMaxHeightPoints, kMaxHeightDifferences, kMaxHeightPairs, kMaxLoopEntries};
  return BoundedCount(net.capacities[which], kArraySize[which]);
}

}  // namespace qp
