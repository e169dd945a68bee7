#include "tools/zone_transform.h"

#include <cmath>
#include <utility>

#include "common/blank_line_question.h"
#include "common/finite_values.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "common/report_file.h"
#include "tools/point_list.h"
#include "tools/tool_file.h"

namespace qp {
namespace {

bool NotNegative(double v) { return v >= 0.0; }

// A file is taken when its count fits and the coordinates it lists are
// numbers; values no list uses are tidied instead of refusing the file.
bool AcceptZoneFile(ZoneTransformFile& f) {
  if (f.count < 0 || f.count > kZoneCapacity) return false;
  const size_t n = static_cast<size_t>(f.count);
  if (n > 0 && !(std::isfinite(f.oldMeridian) && std::isfinite(f.newMeridian))) return false;
  if (!AllFinite(f.oldX, n) || !AllFinite(f.oldY, n)) return false;
  ZeroNonFinite(&f.oldMeridian, 1);
  ZeroNonFinite(&f.newMeridian, 1);
  ZeroNonFinite(f.oldX, f.oldY, f.latitude, f.longitude, f.newX, f.newY);
  return true;
}

}  // namespace

const std::vector<std::string>& ZoneDisplayItems() {
  static const std::vector<std::string> items = {Gbk("坐标"), Gbk("经纬度"), Gbk("坐标经纬度")};
  return items;
}

void ZoneTransformForm::ChooseFile(const std::string& path, PlatformServices& platform) {
  LoadOrCreateOnRequest(*this, path, "请确认新建坐标换带数据文件 ...", "换带数据文件错误 !", "换带数据文件写入错误 !",
                        platform);
}

bool ZoneTransformForm::LoadFile(const std::string& path) {
  if (!LoadRecord(path, AcceptZoneFile)) return false;
  if (record_->count > 0) FillControls();
  return true;
}

bool ZoneTransformForm::CreateFile(const std::string& path) { return CreateRecord(path); }

void ZoneTransformForm::FillControls() {
  const ZoneTransformFile& r = *record_;
  inputText = ListLines(InputLine, r.names, r.oldX, r.oldY, 0, r.count - 1);
  outputText_.clear();
  oldMeridianText = Format("%.6f", r.oldMeridian);
  newMeridianText = Format("%.6f", r.newMeridian);
  title = std::string(SlotText(r.title));
  systemIndex = GeodeticSystemIndex(r.system);
}

InputCheck ZoneTransformForm::ReadControls(ZoneTransformFile& image, PlatformServices& platform) const {
  image.system = GeodeticSystemIndex(systemIndex);
  const double oldMeridian = LeadingNumber(oldMeridianText);
  const double newMeridian = LeadingNumber(newMeridianText);
  for (const auto& [message, meridian] :
       {std::pair{"换带前经度输入错误 !", oldMeridian}, std::pair{"换带后经度输入错误 !", newMeridian}}) {
    if (meridian < 0.5) {
      platform.ShowMessage(Gbk(message));
      return Refused();
    }
  }
  // Compared as D.MS numbers, as the users know the rule.
  if (std::fabs(oldMeridian - newMeridian) > 12.0) {
    platform.ShowMessage(Gbk("换带前后度差超过了12度 !"));
    return Refused();
  }
  image.oldMeridian = oldMeridian;
  image.newMeridian = newMeridian;
  if (!ReadTitle(title, image.title, platform)) return Refused();

  PointListRules rules;
  rules.caption = "换带前坐标";
  rules.firstLineNumber = 0;
  rules.capacity = kZoneCapacity;
  rules.acceptX = NotNegative;
  rules.acceptY = NotNegative;
  std::vector<ListedPoint> points;
  if (!ConfirmBlankLineCut(inputText, {rules.caption, 0, rules.firstLineNumber}, platform)) return Refused();
  if (InputCheck read = ReadPointList(inputText, rules, points, platform); !read) return read;
  StoreList(points, image.names, image.oldX, image.oldY, 0);
  image.count = static_cast<int32_t>(points.size());
  return Accepted();
}

const std::vector<std::string>& ZoneNumberItems() {
  static const std::vector<std::string> items = {Gbk("不加带号"), Gbk("3度带带号"), Gbk("6度带带号")};
  return items;
}

std::string ZoneTransformForm::DisplayText(int zoneNumber) const {
  const ZoneTransformFile& r = *record_;
  std::string text;
  for (int i = 0; i < r.count; ++i) {
    const std::string name(SlotText(r.names[i]));
    const double y = r.newY[i] + zoneNumber * 1e6;
    switch (displayIndex) {
      case kZoneShowCoordinates:
        text += Format("%-10s,%11.3f,%11.3f\r\n", name.c_str(), r.newX[i], y);
        break;
      case kZoneShowGeographic:
        text += Format("%-10s,%8.5f,%8.5f\r\n", name.c_str(), r.longitude[i], r.latitude[i]);
        break;
      default:
        text += Format("%-10s,%11.3f,%11.3f,%8.5f,%8.5f\r\n", name.c_str(), r.newX[i], y, r.longitude[i],
                       r.latitude[i]);
        break;
    }
  }
  return text;
}

InputCheck ZoneTransformForm::Execute(PlatformServices& platform) {
  auto image = std::make_unique<ZoneTransformFile>(*record_);
  if (InputCheck read = ReadControls(*image, platform); !read) return read;
  int zoneNumber = 0;
  if (zoneNumberIndex != kNoZoneNumber) {
    const int width = zoneNumberIndex == kThreeDegreeZoneNumber ? 3 : 6;
    const std::optional<int> zone = ZoneNumberOf(image->newMeridian, width);
    if (!zone) {
      platform.ShowMessage(FormatText("换带后经度不是%d度带的中央子午线, 不能输出带号 !", width));
      return Refused();
    }
    zoneNumber = *zone;
  }
  if (std::optional<RejectedEntry> refused = TransformZonePoints(*image)) {
    return RejectEntry(platform, refused->box, refused->line, refused->message);
  }
  *record_ = *image;
  outputText_ = DisplayText(zoneNumber);
  if (!file_.chosen) return Accepted();

  bool ok = SaveRecord("换带数据文件写入错误 !", platform);
  ok = WriteReport(platform) && ok;
  OfferReport("换带计算完成...", platform);
  return {ok, std::nullopt};
}

InputCheck ZoneTransformForm::SelectDisplay(int index, PlatformServices& platform) {
  displayIndex = index;
  return Execute(platform);
}

bool ZoneTransformForm::WriteReport(PlatformServices& platform) const {
  const ZoneTransformFile& r = *record_;
  ReportFile report;
  if (!CreateReportOrTell(report, file_.reportPath, platform)) return false;
  SectionNumber section;
  report.WriteTitleBlock(SlotText(r.title), platform.CurrentTime(), section);
  const std::string& system = GeodeticSystemItems()[GeodeticSystemIndex(r.system)];
  report.Printf("\r\n%44s\r\n\r\n", (Gbk("坐标系统:  ") + system).c_str());
  report.Printf("%36s%12.7f\r\n", Gbk("旧投影带中央子午线:").c_str(), r.oldMeridian);
  report.Printf("%36s%12.7f\r\n", Gbk("新投影带中央子午线:").c_str(), r.newMeridian);
  report.Rule();

  // Each table names its central meridian between the heading and the columns.
  const auto tableHead = [&](const char* heading, double meridian, const char* columns) {
    report.Write(FormatText(heading, section.Take(), static_cast<long>(r.count)));
    report.Rule();
    report.TableHead(Format("%22s%-15.8f%-12s\r\n", Gbk("中央子午线:  ").c_str(), meridian,
                            (Gbk("   坐标系统:      ") + system).c_str()),
                     columns);
  };
  tableHead("\r\n\r\n%18d.换带点坐标<个数:%ld   单位:米>\r\n", r.oldMeridian,
            "  序号   点        名                     X坐标        Y坐标\r\n");
  for (int i = 0; i < r.count; ++i) {
    report.Printf("%6ld   %-26.16s%15.4f%15.4f\r\n", static_cast<long>(i), std::string(SlotText(r.names[i])).c_str(),
                  r.oldX[i], r.oldY[i]);
  }
  report.Rule();
  report.Printf("%s\r\n\r\n", " ");

  tableHead("\r\n\r\n%18d.换带后坐标<个数:%ld   单位:米/度.分秒>\r\n", r.newMeridian,
            "  序号   点        名                  X坐标/经度     Y坐标/纬度\r\n");
  for (int i = 0; i < r.count; ++i) {
    report.Printf("%6ld   %-26.16s%15.4f%15.4f\r\n", static_cast<long>(i), std::string(SlotText(r.names[i])).c_str(),
                  r.newX[i], r.newY[i]);
    report.Printf("%-35.16s%15.8f%15.8f\r\n", "", r.longitude[i], r.latitude[i]);
  }
  report.Rule();
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
