// "确定" and "取消" of the height input dialog.
#include <utility>

#include "common/binary_file.h"
#include "common/blank_line_question.h"
#include "common/gbk_text.h"
#include "height/height_checks.h"
#include "height/height_input_form.h"
#include "height/height_model_record.h"
#include "height/height_raw_report.h"

namespace qp {
namespace {

// The boxes in the order the confirmation reads them.
constexpr int kReadingOrder[] = {
    kHeightKnownBox, kHeightApproxBox, kHeightPairsBox, kHeightDifferencesBox, kHeightCoordinatesBox,
};

}  // namespace

const char* HeightBoxCaption(int box) {
  static constexpr const char* kCaptions[kHeightTextBoxCount] = {
      "已知高程点", "概略高程点", "精度端点", "平面坐标点", "高差观测值",
  };
  return box >= 0 && box < kHeightTextBoxCount ? kCaptions[box] : "";
}

InputCheck ConfirmHeightDialog(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform,
                               const HeightReportTarget& target) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认继续 ..."))) return Refused();
  return RunHeightConfirmation(form, net, platform, target);
}

InputCheck RunHeightConfirmation(const HeightInputForm& form, HeightNetwork& net, PlatformServices& platform,
                                 const HeightReportTarget& target) {
  // The height tables count their lines from 1.
  if (!ConfirmBlankLineCuts(form.boxes, kReadingOrder, HeightBoxCaption, 1, platform)) return Refused();
  if (InputCheck read = ParseAll(form, net, platform); !read) return read;
  {
    HeightModel parsed = HeightModelOfParsedInput(net);
    if (InputCheck named = Told(platform, CheckDuplicateNames(parsed)); !named) return named;
    // The points found before a refusal stay in the record.
    InputCheck listed = Told(platform, CompleteHeightPointList(parsed));
    PutHeightPointNames(parsed, net);
    if (!listed) return listed;
    net.pointCount = parsed.PointCount();
    net.unknownPointCount = parsed.UnknownPointCount();
  }
  // The model of the completed list, with what the record keeps for its points.
  HeightModel model = HeightModelFromRecord(net);
  // Heights carried and positions placed before a refusal stay in the record.
  CheckChain chain;
  auto checked = [&](InputCheck check) { return chain(Told(platform, std::move(check))); };
  checked(CarryApproximateHeights(model)) && checked(CheckHeightPrecisionPairs(model)) &&
      checked(CheckHeightCoordinates(model));
  PutHeightResults(model, net);
  PutHeightLayout(model, net);
  if (!chain.Result()) return chain.Result();
  net.unknownCount = net.unknownPointCount;
  net.redundancy = net.observationCount - net.unknownPointCount;
  if (!(net.pointCount > 0 && net.unknownPointCount > 0 && net.observationCount > 1 && net.redundancy >= 0)) {
    return Told(platform, RefusedWith(Gbk("高程网不满足平差或精度估算条件 !!!")));
  }
  {
    WaitCursor wait(platform);
    // A report that cannot be written has shown its message; the network
    // itself is confirmed all the same.
    if (WriteHeightRawReport(model, platform, target.reportPath, target.section)) PutHeightLoops(model, net);
  }
  // The input is now part of the network: the unfinished-input file is done with.
  RemoveFileIfExists(target.sidePath);
  return Accepted();
}

bool CancelHeightForm(const HeightInputForm& form, const HeightNetwork& net, PlatformServices& platform,
                      const std::string& sidePath) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认放弃 ..."))) return false;
  // A network typed into the dialog keeps what was typed for the next edit.
  if (net.derivedMarker < 0) WriteHeightSideFile(sidePath, form);
  return true;
}

}  // namespace qp
