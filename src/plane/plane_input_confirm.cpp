// "确定" and "取消" of the plane input dialog.
#include "common/binary_file.h"
#include "common/blank_line_question.h"
#include "common/gbk_text.h"
#include "plane/plane_input_form.h"

namespace qp {
namespace {

// The boxes in the order the confirmation reads them; the known heights,
// last, are read in the slope modes only.
constexpr int kReadingOrder[] = {
    kKnownPointsBox,      kApproxPointsBox,   kPrecisionPairsBox, kDirectionsBox,       kFixedAzimuthsBox,
    kWeightedAzimuthsBox, kDistanceLinesBox, kFixedDistancesBox, kWeightedDistancesBox, kKnownHeightsBox,
};

bool ConfirmPlaneBlankLines(const PlaneInputForm& form, PlatformServices& platform) {
  std::span<const int> order(kReadingOrder);
  if (!IsSlopeMode(form.calcMode)) order = order.first(order.size() - 1);
  // The plane tables count their lines from 0.
  return ConfirmBlankLineCuts(form.boxes, order, PlaneBoxCaption, 0, platform);
}

}  // namespace

const char* PlaneBoxCaption(int box) {
  static constexpr const char* kCaptions[kPlaneTextBoxCount] = {
      "已知点",     "概略坐标点", "精度端点", "已知高程点", "方向观测值",
      "固定方位角", "加权方位角", "边长观测值", "固定边长", "加权边长",
  };
  return box >= 0 && box < kPlaneTextBoxCount ? kCaptions[box] : "";
}

InputCheck ConfirmPlaneForm(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                            const std::string& draftPath, const PlaneConfirmationSteps& laterSteps) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认继续 ..."))) return Refused();
  return RunPlaneConfirmation(form, net, platform, draftPath, laterSteps);
}

InputCheck RunPlaneConfirmation(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                                const std::string& draftPath, const PlaneConfirmationSteps& laterSteps) {
  if (!ConfirmPlaneBlankLines(form, platform)) return Refused();
  if (InputCheck read = ReadPlaneInput(form, net, platform); !read) return read;
  if (laterSteps && !laterSteps(net, platform)) return Refused();
  // The input is now part of the network: the unfinished-input draft is done with.
  RemoveFileIfExists(draftPath);
  return Accepted();
}

bool CancelPlaneForm(const PlaneInputForm& form, const PlaneNetwork& net, PlatformServices& platform,
                     const std::string& draftPath) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认放弃 ..."))) return false;
  // A network that was never computed keeps what was typed for the next edit.
  if (net.lastComputedPointCount < 0) WritePlaneDraft(draftPath, form);
  return true;
}

}  // namespace qp
