#include "plane/plane_network.h"

#include <cstring>

#include "common/diagram_fonts.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_network_layout.h"

namespace qp {

void ResetPlaneNetwork(PlaneNetwork& net, std::string_view dataFilePath) {
  std::memset(&net, 0, sizeof net);
  net.calcMode = kReducedObservations;
  net.reservedSingle = 1.0f;
  net.refraction = 0.14;
  net.projectionHeight = 0.0;
  net.yOffset = 500000.0;
  net.lastComputedPointCount = -1;
  SetSlotText(net.networkName, Gbk("控制网名"));
  SetSlotText(net.dataFilePath, dataFilePath);
  net.directionError = 1.8;
  net.distanceFixedError = 3.0;
  net.distanceScaleError = 2.0;
  net.closureMode = 1;
  net.verticalAngleKind = 0;
  net.distanceColumnOrder = 0;

  net.limits[kLimitPoints] = kMaxPlanePoints;
  net.limits[kLimitDirections] = kMaxDirections;
  net.limits[kLimitSmallTable] = kMaxSmallTable;
  net.limits[kLimitDistanceLines] = kMaxDistanceLines;
  net.limits[kLimitReserved] = 128;

  // Diagram fonts and ellipse display.
  SetStartingDiagramFonts(net);
  net.displayMode = 0;
  net.maxEllipseRadius = 6.0;
  net.maxSemiAxis = 0.0;
  net.ellipseScale = 1.0;
  net.warningDistance = 100.0;
  net.breakthroughWarning = 1;
}

}  // namespace qp
