// "确定" and "取消" of the plane input dialog.
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "plane/plane_input_form.h"

namespace qp {

bool ConfirmPlaneForm(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                      const std::string& draftPath, const PlaneConfirmationSteps& laterSteps) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认继续 ..."))) return false;
  return RunPlaneConfirmation(form, net, platform, draftPath, laterSteps);
}

bool RunPlaneConfirmation(const PlaneInputForm& form, PlaneNetwork& net, PlatformServices& platform,
                          const std::string& draftPath, const PlaneConfirmationSteps& laterSteps) {
  if (!ReadPlaneInput(form, net, platform)) return false;
  if (laterSteps && !laterSteps(net, platform)) return false;
  // The input is now part of the network: the unfinished-input draft is done with.
  RemoveFileIfExists(draftPath);
  return true;
}

bool CancelPlaneForm(const PlaneInputForm& form, const PlaneNetwork& net, PlatformServices& platform,
                     const std::string& draftPath) {
  if (!ConfirmYesNoDefaultNo(platform, Gbk("请确认放弃 ..."))) return false;
  // A network that was never computed keeps what was typed for the next edit.
  if (net.lastComputedPointCount < 0) WritePlaneDraft(draftPath, form);
  return true;
}

}  // namespace qp
