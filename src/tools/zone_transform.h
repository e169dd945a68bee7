// The form of the Gauss zone transformation ("坐标换带计算"): the dialog's
// controls (GBK texts, combo indices) and what its buttons do to its .GST
// record; a window only shows it.
#pragma once

#include <string>
#include <vector>

#include "common/platform_services.h"
#include "tools/tool_file.h"
#include "tools/zone_computation.h"

namespace qp {

// Texts of the 显示选择 combo (GBK): "坐标", "经纬度", "坐标经纬度".
const std::vector<std::string>& ZoneDisplayItems();

enum ZoneDisplay : int { kZoneShowCoordinates = 0, kZoneShowGeographic = 1, kZoneShowBoth = 2 };

// Texts of the 输出带号 combo (GBK): "不加带号", "3度带带号", "6度带带号". The
// shown Y then carries the number of the new meridian's zone of that width
// in front (38500000.000); the data file and the report keep Y without it.
const std::vector<std::string>& ZoneNumberItems();
enum ZoneNumberChoice : int { kNoZoneNumber = 0, kThreeDegreeZoneNumber = 1, kSixDegreeZoneNumber = 2 };

class ZoneTransformForm : public ToolForm<ZoneTransformFile> {
 public:
  // The controls (GBK texts, combo indices). A window copies its widgets into
  // these before calling an action and shows them again afterwards.
  int systemIndex = 0;                  // 系统选择
  std::string title;                    // 输出标识
  std::string oldMeridianText;          // 换带前经度
  std::string newMeridianText;          // 换带后经度
  int displayIndex = kZoneShowBoth;     // 显示选择
  int zoneNumberIndex = kNoZoneNumber;  // 输出带号: not stored, each opening starts without
  std::string inputText;                // 换带前坐标

  const std::string& OutputText() const { return outputText_; }  // 换带后坐标

  // "文件选择" after the file dialog returned `path`: loads the file, or asks
  // whether to create it.
  void ChooseFile(const std::string& path, PlatformServices& platform);
  // The two halves of choosing a file, for callers that decide themselves:
  // load an existing file (false when it is missing, of another length or
  // damaged; nothing changes then), or create a new empty one.
  bool LoadFile(const std::string& path);
  bool CreateFile(const std::string& path);

  // "换带执行": reads the controls, transforms, fills the output edit and, when
  // a file is chosen, saves it, writes the report and offers to show it.
  // Accepted when everything it did succeeded; a refused line is named.
  InputCheck Execute(PlatformServices& platform);
  // A new entry in 显示选择 runs the same sequence as "换带执行".
  InputCheck SelectDisplay(int index, PlatformServices& platform);

 private:
  InputCheck ReadControls(ZoneTransformFile& image, PlatformServices& platform) const;
  void FillControls();
  // The output box; `zoneNumber` (0 for none) goes in front of each Y.
  std::string DisplayText(int zoneNumber = 0) const;
  bool WriteReport(PlatformServices& platform) const;

  std::string outputText_;
};

}  // namespace qp
