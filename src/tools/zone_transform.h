// Gauss zone transformation ("坐标换带计算"): plane coordinates of a point list
// are projected back to latitude and longitude around the old central
// meridian and forward again around the new one, on the same ellipsoid.
//
// The form holds the dialog's controls as texts and combo indices (GBK) and
// does what its buttons do; a window only shows it. Its whole state is the
// record below, which is also the byte image of the .GST data file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "tools/tool_file.h"

namespace qp {

inline constexpr int kZoneCapacity = 1024;
inline constexpr size_t kZoneFileSize = 60512;

struct ZoneTransformFile {
  int32_t system;                     // 0 System54, 1 System80 (combo index)
  int32_t count;                      // points, 0..1024
  double oldMeridian;                 // central meridian before, D.MS
  double newMeridian;                 // central meridian after, D.MS
  char names[kZoneCapacity][11];
  double oldX[kZoneCapacity];         // as entered
  double oldY[kZoneCapacity];         // as entered, possibly with the zone number
  double latitude[kZoneCapacity];     // D.MS
  double longitude[kZoneCapacity];    // D.MS
  double newX[kZoneCapacity];
  double newY[kZoneCapacity];         // with 500000 m false easting, no zone number
  char title[72];                     // at most 32 bytes and a zero
};

static_assert(sizeof(ZoneTransformFile) == kZoneFileSize);
static_assert(offsetof(ZoneTransformFile, system) == 0);
static_assert(offsetof(ZoneTransformFile, count) == 4);
static_assert(offsetof(ZoneTransformFile, oldMeridian) == 8);
static_assert(offsetof(ZoneTransformFile, newMeridian) == 16);
static_assert(offsetof(ZoneTransformFile, names) == 24);
static_assert(offsetof(ZoneTransformFile, oldX) == 11288);
static_assert(offsetof(ZoneTransformFile, oldY) == 19480);
static_assert(offsetof(ZoneTransformFile, latitude) == 27672);
static_assert(offsetof(ZoneTransformFile, longitude) == 35864);
static_assert(offsetof(ZoneTransformFile, newX) == 44056);
static_assert(offsetof(ZoneTransformFile, newY) == 52248);
static_assert(offsetof(ZoneTransformFile, title) == 60440);

// Texts of the 显示选择 combo (GBK): "坐标", "经纬度", "坐标经纬度".
const std::vector<std::string>& ZoneDisplayItems();

enum ZoneDisplay : int { kZoneShowCoordinates = 0, kZoneShowGeographic = 1, kZoneShowBoth = 2 };

class ZoneTransformForm : public ToolForm<ZoneTransformFile> {
 public:
  // The controls (GBK texts, combo indices). A window copies its widgets into
  // these before calling an action and shows them again afterwards.
  int systemIndex = 0;                  // 系统选择
  std::string title;                    // 输出标识
  std::string oldMeridianText;          // 换带前经度
  std::string newMeridianText;          // 换带后经度
  int displayIndex = kZoneShowBoth;     // 显示选择
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
  InputCheck Transform(ZoneTransformFile& image, PlatformServices& platform) const;
  void FillControls();
  std::string DisplayText() const;
  bool WriteReport(PlatformServices& platform) const;

  std::string outputText_;
};

}  // namespace qp
