#include "height/height_file.h"

#include <memory>

#include "common/binary_file.h"
#include "common/finite_values.h"
#include "common/settings_repair.h"

namespace qp {
namespace {

bool StoredHeightValuesFinite(const HeightNetwork& n) {
  for (const LoopEntry& loop : n.loops) {
    if (!AllFields(loop.closure, loop.labelX, loop.labelY)) return false;
  }
  return AllFields(n.sigma0, n.largestCorrection, n.priorError, n.height, n.heightError, n.diagramX, n.diagramY,
                   n.labelOffsetX, n.labelOffsetY, n.coordinateX, n.coordinateY, n.observed, n.weightElement,
                   n.differenceErrorLow, n.curve, n.pairDifference, n.pairError, n.numberFontHeight,
                   n.numberFontWidth, n.textFontHeight, n.textFontWidth, n.differenceErrorHigh);
}

}  // namespace

bool ReadHeightFile(const std::string& path, SettingsBlock& settings, HeightNetwork& net, PlatformServices* tell) {
  auto readSettings = std::make_unique<SettingsBlock>();
  auto readNet = std::make_unique<HeightNetwork>();
  if (!ReadRecords(path, *readSettings, *readNet) || !StoredHeightValuesFinite(*readNet)) return false;
  const std::vector<std::string> reset = ResetNonFiniteSettings(*readSettings);
  settings = *readSettings;
  net = *readNet;
  if (tell && !reset.empty()) tell->ShowMessage(ResetValuesMessage(reset));
  return true;
}

bool WriteHeightFile(const std::string& path, const SettingsBlock& settings, const HeightNetwork& net) {
  return WriteRecords(path, settings, net);
}

}  // namespace qp
