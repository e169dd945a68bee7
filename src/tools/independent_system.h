// Independent coordinate system ("独立坐标系统建立与计算"). A project's local
// plane system is a Gauss-Krüger projection whose central meridian passes
// through a reference point, computed on the national ellipsoid raised by the
// projection surface height H and shifted so that the reference point gets its
// set coordinates. Point lists are converted national -> independent and back,
// within a valid radius of the reference point.
//
// The reference data are confirmed once, after the first successful national
// -> independent conversion, and are frozen from then on; the flag travels in
// the .SLT file, whose byte image is the record below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "tools/tool_file.h"

namespace qp {

inline constexpr int kIndependentCapacity = 1024;
inline constexpr size_t kIndependentFileSize = 55744;

struct IndependentSystemFile {
  int32_t mode;                  // 0 national -> independent, 1 independent -> national
  char systemName[65];           // report title, 1..32 bytes
  char referenceName[11];
  double meridian;               // national central meridian of the reference point, D.MS
  double referenceX;             // national coordinates of the reference point
  double referenceY;             // without zone number
  double referenceL;             // computed longitude, D.MS
  double referenceB;             // computed latitude, D.MS
  double referenceXH;            // reference point on the raised surface around its own meridian
  double referenceYH;            // 500000 by construction
  int32_t system;                // 0 System54, 1 System80
  uint8_t unused140[4];
  double height;                 // projection surface height H, m
  double setX;                   // the reference point in the independent system
  double setY;
  double radius;                 // valid radius, at least 1000 m
  uint8_t confirmed;             // 1 once the reference data are frozen
  uint8_t unused177[3];
  int32_t nationalCount;
  char nationalNames[kIndependentCapacity][11];
  double nationalX[kIndependentCapacity];
  double nationalY[kIndependentCapacity];
  int32_t independentCount;
  char independentNames[kIndependentCapacity][11];
  uint8_t unused39100[4];
  double independentX[kIndependentCapacity];
  double independentY[kIndependentCapacity];
  uint8_t reserved[256];
};

static_assert(sizeof(IndependentSystemFile) == kIndependentFileSize);
static_assert(offsetof(IndependentSystemFile, mode) == 0);
static_assert(offsetof(IndependentSystemFile, systemName) == 4);
static_assert(offsetof(IndependentSystemFile, referenceName) == 69);
static_assert(offsetof(IndependentSystemFile, meridian) == 80);
static_assert(offsetof(IndependentSystemFile, referenceX) == 88);
static_assert(offsetof(IndependentSystemFile, referenceY) == 96);
static_assert(offsetof(IndependentSystemFile, referenceL) == 104);
static_assert(offsetof(IndependentSystemFile, referenceB) == 112);
static_assert(offsetof(IndependentSystemFile, referenceXH) == 120);
static_assert(offsetof(IndependentSystemFile, referenceYH) == 128);
static_assert(offsetof(IndependentSystemFile, system) == 136);
static_assert(offsetof(IndependentSystemFile, unused140) == 140);
static_assert(offsetof(IndependentSystemFile, height) == 144);
static_assert(offsetof(IndependentSystemFile, setX) == 152);
static_assert(offsetof(IndependentSystemFile, setY) == 160);
static_assert(offsetof(IndependentSystemFile, radius) == 168);
static_assert(offsetof(IndependentSystemFile, confirmed) == 176);
static_assert(offsetof(IndependentSystemFile, unused177) == 177);
static_assert(offsetof(IndependentSystemFile, nationalCount) == 180);
static_assert(offsetof(IndependentSystemFile, nationalNames) == 184);
static_assert(offsetof(IndependentSystemFile, nationalX) == 11448);
static_assert(offsetof(IndependentSystemFile, nationalY) == 19640);
static_assert(offsetof(IndependentSystemFile, independentCount) == 27832);
static_assert(offsetof(IndependentSystemFile, independentNames) == 27836);
static_assert(offsetof(IndependentSystemFile, unused39100) == 39100);
static_assert(offsetof(IndependentSystemFile, independentX) == 39104);
static_assert(offsetof(IndependentSystemFile, independentY) == 47296);
static_assert(offsetof(IndependentSystemFile, reserved) == 55488);

enum IndependentMode : int { kNationalToIndependent = 0, kIndependentToNational = 1 };

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
  bool ValidateReference(IndependentSystemFile& image, PlatformServices& platform) const;
  Conversion NationalToIndependent(IndependentSystemFile& image, PlatformServices& platform);
  Conversion IndependentToNational(IndependentSystemFile& image, PlatformServices& platform);
  bool Convert(IndependentSystemFile& image, const std::vector<ListedPoint>& points, PlatformServices& platform);
  void Complete(IndependentSystemFile& image, const char* doneMessage, PlatformServices& platform);
  void FillControls();
  bool WriteReport(PlatformServices& platform) const;

  bool viewReportEnabled_ = false;
  bool wroteFiles_ = false;
};

}  // namespace qp
