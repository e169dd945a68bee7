// The form of the independent coordinate system ("独立坐标系统建立与计算"): the
// dialog's controls (GBK texts, combo indices) and what its buttons do to its
// .SLT record. The reference data are confirmed once, after the first
// successful national -> independent conversion, and are frozen from then on.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/platform_services.h"
#include "tools/independent_computation.h"
#include "tools/point_list.h"
#include "tools/tool_file.h"

namespace qp {

// Texts of the 转换方式 combo (GBK): "国家转到独立", "独立转到国家".
const std::vector<std::string>& IndependentModeItems();

// Which controls accept input.
struct IndependentEnabling {
  bool referenceGroup = false;  // reference name .. set coordinates, the 坐标系统 combo
  bool systemName = false;
  bool radius = false;
  bool nationalEdit = false;
  bool independentEdit = false;
  bool modeCombo = false;
  bool viewReport = false;      // "查看文本"
};

// How a conversion ended.
enum class ConversionOutcome {
  Converted,      // results shown; file and report written (false from WroteFiles when one failed)
  Stopped,        // a message was shown, nothing changed
  NothingToDo,    // an empty independent list: nothing happens, without a message
};

// A conversion's outcome, with the list line refused when it stopped at one.
struct Conversion {
  Conversion(ConversionOutcome how, std::optional<RejectedEntry> refused = std::nullopt)  // NOLINT: an outcome is one
      : outcome(how), rejected(std::move(refused)) {}
  bool operator==(ConversionOutcome other) const { return outcome == other; }
  ConversionOutcome outcome;
  std::optional<RejectedEntry> rejected;
};

class IndependentSystemForm : public ToolForm<IndependentSystemFile> {
 public:
  // The controls (GBK texts, combo indices).
  std::string systemName;        // 坐标系统名称
  std::string referenceName;     // 参考点点名
  std::string meridianText;      // 中央子午线
  std::string referenceXText;    // 参考点X坐标
  std::string referenceYText;    // 参考点Y坐标
  int systemIndex = 0;           // 坐标系统
  std::string heightText;        // 投影高程面
  std::string setXText;          // 设定坐标X
  std::string setYText;          // 设定坐标Y
  std::string radiusText;        // 有效半径m
  int modeIndex = kNationalToIndependent;  // 转换方式
  std::string nationalText;      // 国家坐标系统坐标
  std::string independentText;   // 独立坐标系统坐标

  bool Confirmed() const { return record_->confirmed != 0; }
  IndependentEnabling Enabling() const;
  // The edit the last conversion wrote its results to.
  const std::string& ResultText() const { return modeIndex == kIndependentToNational ? nationalText : independentText; }
  // After Converted: whether the data file and the report were both written.
  bool WroteFiles() const { return wroteFiles_; }

  // "文件选择" after the file dialog returned `path`.
  void ChooseFile(const std::string& path, PlatformServices& platform);
  // Loads an existing file (false, and nothing changes, when it is missing,
  // of another length or damaged), or creates a new one with the defaults.
  bool LoadFile(const std::string& path);
  bool CreateFile(const std::string& path);

  // "坐标转换" in the mode of the 转换方式 combo.
  Conversion Execute(PlatformServices& platform);
  // "查看文本".
  void ViewReport(PlatformServices& platform);

 private:
  // The reference data of the controls put into `image`; the message (GBK)
  // of the first that is wrong, empty when none is.
  std::string ValidateReference(IndependentSystemFile& image) const;
  Conversion NationalToIndependent(IndependentSystemFile& image, PlatformServices& platform);
  Conversion IndependentToNational(IndependentSystemFile& image, PlatformServices& platform);
  bool Convert(IndependentSystemFile& image, const std::vector<ListedPoint>& points, bool computeReference,
               PlatformServices& platform);
  void Complete(IndependentSystemFile& image, const char* doneMessage, PlatformServices& platform);
  void FillControls();
  bool WriteReport(PlatformServices& platform) const;

  bool viewReportEnabled_ = false;
  bool wroteFiles_ = false;
};

}  // namespace qp
