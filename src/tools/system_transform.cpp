#include "tools/system_transform.h"

#include <cmath>
#include <cstring>
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

constexpr size_t kTitleLimit = 32;
constexpr int kNoPartner = 32768;
constexpr int kMaxParameters = 8;
// A pivot this small against its diagonal element before the elimination
// means the normal equations are singular in double precision.
constexpr double kSingularPivotRatio = 1e-12;

bool AcceptSystemFile(SystemTransformFile& f) {
  if (f.oldCount < 0 || f.oldCount > kSystemListCapacity) return false;
  if (f.newCount < 0 || f.newCount > kSystemListCapacity) return false;
  const size_t oldN = static_cast<size_t>(f.oldCount);
  const size_t newN = static_cast<size_t>(f.newCount);
  if (!AllFinite(f.oldX + 1, oldN) || !AllFinite(f.oldY + 1, oldN)) return false;
  if (!AllFinite(f.newX + 1, newN) || !AllFinite(f.newY + 1, newN)) return false;
  ZeroNonFinite(f.oldX);
  ZeroNonFinite(f.oldY);
  ZeroNonFinite(f.transformedX);
  ZeroNonFinite(f.transformedY);
  ZeroNonFinite(f.newX);
  ZeroNonFinite(f.newY);
  ZeroNonFinite(&f.sigma, 1);
  ZeroNonFinite(f.parameters);
  return true;
}

// The observation-equation coefficients of a point at (u, v) from the old
// centroid: the x row and the y row for p1..p8.
void ConformalRows(double u, double v, double (&xRow)[kMaxParameters + 1], double (&yRow)[kMaxParameters + 1]) {
  const double P2 = u * u - v * v;
  const double Q2 = 2.0 * u * v;
  const double P3 = u * u * u - 3.0 * u * v * v;
  const double Q3 = 3.0 * u * u * v - v * v * v;
  const double x[] = {0.0, 1.0, 0.0, u, -v, P2, -Q2, P3, -Q3};
  const double y[] = {0.0, 0.0, 1.0, v, u, Q2, P2, Q3, P3};
  std::memcpy(xRow, x, sizeof x);
  std::memcpy(yRow, y, sizeof y);
}

// The centroid of values 1..m, cut (not rounded) to the millimetre.
double TruncatedCentroid(const double* values, int m) {
  double sum = 0.0;
  for (int i = 1; i <= m; ++i) sum += values[i];
  return std::floor(sum / m * 1000.0) * 0.001;
}

// Packed lower triangle, element (i, j) with 1 <= j <= i.
constexpr int Packed(int i, int j) { return i * (i - 1) / 2 + j; }

// Exchanges name, x, y and key of slots a and b of a list.
void SwapSlots(char (*names)[11], double* x, double* y, int* key, int a, int b) {
  std::swap(names[a], names[b]);
  std::swap(x[a], x[b]);
  std::swap(y[a], y[b]);
  std::swap(key[a], key[b]);
}

// Selection sort by key over slots 1..n: the first smallest key of p..n goes
// to p. Common points thus come first, in the order of the new list.
void SortByKey(char (*names)[11], double* x, double* y, int* key, int n) {
  for (int p = 1; p < n; ++p) {
    int smallest = p;
    for (int q = p + 1; q <= n; ++q) {
      if (key[q] < key[smallest]) smallest = q;
    }
    if (smallest != p) SwapSlots(names, x, y, key, p, smallest);
  }
}

}  // namespace

void ConformalTransform::Apply(double x, double y, double& newX, double& newY) const {
  double xRow[kMaxParameters + 1];
  double yRow[kMaxParameters + 1];
  ConformalRows(x - oldCentroidX, y - oldCentroidY, xRow, yRow);
  double dx = 0.0;
  double dy = 0.0;
  for (int k = 1; k <= parameterCount; ++k) {
    dx += xRow[k] * p[k];
    dy += yRow[k] * p[k];
  }
  newX = newCentroidX + dx;
  newY = newCentroidY + dy;
}

bool EstimateConformalTransform(const SystemTransformFile& image, int m, ConformalTransform& t) {
  t = ConformalTransform{};
  t.oldCentroidX = TruncatedCentroid(image.oldX, m);
  t.oldCentroidY = TruncatedCentroid(image.oldY, m);
  t.newCentroidX = TruncatedCentroid(image.newX, m);
  t.newCentroidY = TruncatedCentroid(image.newY, m);
  // Degree 1 for two points, 2 for three, 3 from four on.
  const int f = m <= 4 ? 2 * m : kMaxParameters;
  t.parameterCount = f;

  double N[Packed(kMaxParameters, kMaxParameters) + 1] = {};
  double w[kMaxParameters + 1] = {};
  for (int i = 1; i <= m; ++i) {
    double xRow[kMaxParameters + 1];
    double yRow[kMaxParameters + 1];
    ConformalRows(image.oldX[i] - t.oldCentroidX, image.oldY[i] - t.oldCentroidY, xRow, yRow);
    const double observed[2] = {image.newX[i] - t.newCentroidX, image.newY[i] - t.newCentroidY};
    const double* rows[2] = {xRow, yRow};
    for (int e = 0; e < 2; ++e) {
      const double* a = rows[e];
      for (int r = 1; r <= f; ++r) {
        for (int c = 1; c <= r; ++c) N[Packed(r, c)] += a[r] * a[c];
        w[r] += a[r] * observed[e];
      }
    }
  }

  // Symmetric elimination without pivoting, row by row. Each reduced pivot is
  // compared with its diagonal element before reduction, which makes the test
  // independent of the very different scales of the parameters.
  double diagonal[kMaxParameters + 1] = {};
  for (int i = 1; i <= f; ++i) diagonal[i] = N[Packed(i, i)];
  if (!(diagonal[1] > 0.0)) return false;
  for (int i = 2; i <= f; ++i) {
    for (int j = 2; j <= i; ++j) {
      for (int k = 1; k < j; ++k) N[Packed(i, j)] -= N[Packed(j, k)] / N[Packed(k, k)] * N[Packed(i, k)];
    }
    if (!(N[Packed(i, i)] > kSingularPivotRatio * diagonal[i])) return false;
  }
  for (int j = 1; j <= f; ++j) {
    for (int k = 1; k < j; ++k) w[j] -= N[Packed(j, k)] * w[k];
    w[j] /= N[Packed(j, j)];
  }
  for (int a = f; a >= 1; --a) {
    for (int k = a + 1; k <= f; ++k) w[a] -= N[Packed(k, a)] / N[Packed(a, a)] * w[k];
  }
  for (int k = 1; k <= f; ++k) {
    if (!std::isfinite(w[k])) return false;
    t.p[k] = w[k];
  }
  return true;
}

void SystemTransformForm::ChooseFile(const std::string& path, PlatformServices& platform) {
  LoadOrCreateOnRequest(*this, path, "请确认新建坐标转换数据文件 ...", "坐标转换数据文件错误 !",
                        "坐标转换数据文件写入错误 !", platform);
}

// A result shown belongs to the file it was computed for.
bool SystemTransformForm::LoadFile(const std::string& path) {
  if (!LoadRecord(path, AcceptSystemFile)) return false;
  computed_ = false;
  if (record_->oldCount > 0 || record_->newCount > 0) FillControls();
  return true;
}

bool SystemTransformForm::CreateFile(const std::string& path) {
  if (!CreateRecord(path)) return false;
  computed_ = false;
  return true;
}

void SystemTransformForm::FillControls() {
  const SystemTransformFile& r = *record_;
  oldText = ListLines(InputLine, r.oldNames, r.oldX, r.oldY, 1, r.oldCount);
  newText = ListLines(InputLine, r.newNames, r.newX, r.newY, 1, r.newCount);
  title = std::string(SlotText(r.title));
}

bool SystemTransformForm::PointTextEdited(PlatformServices& platform) {
  if (file_.chosen) return true;
  oldText.clear();
  newText.clear();
  platform.ShowMessage(Gbk("首先新建或打开一个坐标转换数据文件 !"));
  return false;
}

InputCheck SystemTransformForm::ReadControls(SystemTransformFile& image, PlatformServices& platform) const {
  PointListRules rules;
  rules.caption = "旧坐标";  // errors in either list are reported with the same texts
  rules.firstLineNumber = 1;
  rules.capacity = kSystemListCapacity;
  // The other tools bound their coordinates by their own ranges; this one has
  // none but that no surveying coordinate is as large.
  rules.acceptX = rules.acceptY = IsCoordinateInRange;
  std::vector<ListedPoint> points;
  if (!ConfirmBlankLineCut(oldText, {rules.caption, 0, rules.firstLineNumber}, platform)) return Refused();
  if (InputCheck read = ReadPointList(oldText, rules, points, platform); !read) return read;
  StoreList(points, image.oldNames, image.oldX, image.oldY, 1);
  image.oldCount = static_cast<int32_t>(points.size());
  // The new list's messages are the old list's, and name its box (rules.box 0).
  if (!ConfirmBlankLineCut(newText, {"新坐标", 1, rules.firstLineNumber}, platform)) return Refused();
  if (InputCheck read = ReadPointList(newText, rules, points, platform); !read) return read;
  StoreList(points, image.newNames, image.newX, image.newY, 1);
  image.newCount = static_cast<int32_t>(points.size());
  if (title.size() > kTitleLimit) {
    platform.ShowMessage(Gbk("标题字符数超过了32 !"));
    return Refused();
  }
  SetSlotText(image.title, title);
  return Accepted();
}

bool SystemTransformForm::MatchCommonPoints(SystemTransformFile& image, PlatformServices& platform) const {
  int oldKey[1024];
  int newKey[1024];
  for (int i = 0; i < 1024; ++i) oldKey[i] = newKey[i] = kNoPartner;
  int m = 0;
  for (int k = 1; k <= image.newCount; ++k) {
    const std::string_view name = SlotText(image.newNames[k]);
    int matches = 0;
    for (int l = 1; l <= image.oldCount; ++l) {
      if (SlotText(image.oldNames[l]) != name) continue;
      // A second match of this new point, or an old point already taken by an
      // earlier new point of the same name: the pairing would be ambiguous.
      if (++matches > 1 || oldKey[l] != kNoPartner) {
        platform.ShowMessage(Gbk("新旧坐标重合点不唯一 !"));
        return false;
      }
      newKey[k] = k;
      oldKey[l] = k;
      ++m;
    }
  }
  image.commonCount = m;
  SortByKey(image.newNames, image.newX, image.newY, newKey, image.newCount);
  SortByKey(image.oldNames, image.oldX, image.oldY, oldKey, image.oldCount);
  if (m <= 1) {
    platform.ShowMessage(Gbk("重合点数不足 !"));
    return false;
  }
  if (m != image.newCount) {
    platform.ShowMessage(Gbk("新坐标点必须是重合点 !"));
    return false;
  }
  return true;
}

bool SystemTransformForm::Estimate(SystemTransformFile& image, PlatformServices& platform) const {
  const int m = image.commonCount;
  ConformalTransform t;
  bool ok = EstimateConformalTransform(image, m, t);
  // The old points go straight into the scratch image, which is dropped when
  // the estimate fails.
  double* const transformedX = image.transformedX;
  double* const transformedY = image.transformedY;
  double sum = 0.0;
  if (ok) {
    for (int i = 1; i <= image.oldCount; ++i) t.Apply(image.oldX[i], image.oldY[i], transformedX[i], transformedY[i]);
    for (int i = 1; i <= m; ++i) {
      const double vx = (transformedX[i] - image.newX[i]) * 1000.0;
      const double vy = (transformedY[i] - image.newY[i]) * 1000.0;
      sum += vx * vx + vy * vy;
    }
    ok = AllFinite(transformedX + 1, static_cast<size_t>(image.oldCount)) &&
         AllFinite(transformedY + 1, static_cast<size_t>(image.oldCount)) && std::isfinite(sum);
  }
  if (!ok) {
    platform.ShowMessage(Gbk("重合点点位重合或过于接近, 无法解算转换参数 !"));
    return false;
  }
  const int f = t.parameterCount;
  image.parameterCount = f;
  for (int k = 1; k <= f; ++k) image.parameters[k] = t.p[k];
  if (2 * m > f) image.sigma = std::sqrt(sum / (2 * m - f));
  return true;
}

InputCheck SystemTransformForm::Execute(PlatformServices& platform) {
  if (!file_.chosen) return Refused();
  computed_ = false;
  auto image = std::make_unique<SystemTransformFile>(*record_);
  if (InputCheck read = ReadControls(*image, platform); !read) return read;
  if (!MatchCommonPoints(*image, platform) || !Estimate(*image, platform)) return Refused();
  *record_ = *image;
  computed_ = true;

  bool ok = WriteReport(platform);
  ok = SaveRecord("坐标转换数据文件写入错误 !", platform) && ok;
  OfferReport("坐标转换完成...", platform);
  return {ok, std::nullopt};
}

std::string SystemTransformForm::ResultText() const {
  if (!computed_) return {};
  const SystemTransformFile& r = *record_;
  return ListLines(ResultLine, r.oldNames, r.transformedX, r.transformedY, 1, r.oldCount);
}

bool SystemTransformForm::WriteReport(PlatformServices& platform) const {
  const SystemTransformFile& r = *record_;
  const int m = r.commonCount;
  ReportFile report;
  if (!CreateReportOrTell(report, file_.reportPath, platform)) return false;
  auto pointRow = [&report](long serial, std::string_view name, double x, double y) {
    report.Printf("%6ld   %-26.16s%15.4f%15.4f\r\n", serial, std::string(name).c_str(), x, y);
  };
  const char* const columns = "  序号   点        名                     X坐标         Y坐标\r\n";

  SectionNumber section;
  report.WriteTitleBlock(SlotText(r.title), platform.CurrentTime(), section);
  report.PrintText("\r\n%35s   %d个\r\n", Gbk("重合点数").c_str(), m);

  report.TableHead(
      FormatText("\r\n\r\n%18d.坐标转换旧坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(r.oldCount)),
      columns);
  for (int i = 1; i <= r.oldCount; ++i) pointRow(i, SlotText(r.oldNames[i]), r.oldX[i], r.oldY[i]);
  report.Rule();

  report.TableHead(
      FormatText("\r\n\r\n%18d.坐标转换新坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(r.newCount)),
      columns);
  for (int i = 1; i <= r.newCount; ++i) pointRow(i, SlotText(r.newNames[i]), r.newX[i], r.newY[i]);
  report.Rule();
  report.Printf("%s\r\n\r\n", " ");

  if (2 * m > r.parameterCount) {
    report.PrintText("\r\n\r\n%18d.新旧坐标转换残差计算<个数: %5d>\r\n", section.Take(), 2 * m);
    report.Rule();
    report.PrintText("%35.20s %8.2f毫米\r\n", Gbk("新旧坐标换算中误差=").c_str(), r.sigma);
    report.Rule();
    report.PrintText("  序号   点        名    转换前新坐标X/Y 转换后新坐标X/Y 残差(mm)\r\n");
    report.Rule();
    for (int i = 1; i <= m; ++i) {
      const double vx = (r.transformedX[i] - r.newX[i]) * 1000.0;
      const double vy = (r.transformedY[i] - r.newY[i]) * 1000.0;
      report.Printf("%6ld   %-16.16s%15.4f%15.4f%10.2f\r\n", static_cast<long>(i),
                    std::string(SlotText(r.newNames[i])).c_str(), r.newX[i], r.transformedX[i], vx);
      report.Printf("%-25.16s%15.4f%15.4f%10.2f\r\n", "", r.newY[i], r.transformedY[i], vy);
    }
    report.Rule();
  }

  report.TableHead(
      FormatText("\r\n\r\n%18d.重合点新坐标系统的坐标<个数:%ld   单位:米>\r\n", section.Take(), static_cast<long>(m)),
      columns);
  for (int i = 1; i <= m; ++i) pointRow(i, SlotText(r.newNames[i]), r.newX[i], r.newY[i]);
  report.Rule();

  if (m < r.oldCount) {
    report.PrintText("\r\n\r\n%18d.旧系统下坐标转换到新系统结果<个数:%ld 单位:米>\r\n", section.Take(),
                     static_cast<long>(r.oldCount - m));
    report.Rule();
    report.Write(Gbk(columns));
    report.Rule();
    for (int i = m + 1; i <= r.oldCount; ++i) pointRow(i, SlotText(r.oldNames[i]), r.transformedX[i], r.transformedY[i]);
    report.Rule();
  }
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
