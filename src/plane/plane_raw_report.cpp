// The raw-data report of a plane network: what was entered and what the
// reductions made of it, before any adjustment.
#include "plane/plane_raw_report.h"

#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "geodesy/angles.h"
#include "plane/closure_checks.h"
#include "plane/network_geometry.h"

namespace qp {
namespace {

// A value as it may appear in a report: never NaN or infinity.
double Shown(double v) { return std::isfinite(v) ? v : 0.0; }

// One row of the slope-reduction table.
struct SlopeRow {
  int line;
  double heightDiff;
  double length;
  enum { kSingle, kForward, kBackward } kind;
  double difference;  // mm: dh for the forward line, ds for the backward one
};

// The heading, column captions and row format of a table of azimuths or
// sides; the row takes the value and, for the weighted ones, the weight.
struct MeasureTable {
  const char* heading;
  const char* columns;
  const char* row;
};
constexpr MeasureTable kFixedAzimuths{"\r\n\r\n%18d.固定方位角<个数:%ld   单位:度.分秒>\r\n",
                                      "  序号 点    名   点    名                             固定方位角\r\n",
                                      "%5ld  %-11.10s%-35.10s%12.6f\r\n"};
constexpr MeasureTable kWeightedAzimuths{"\r\n\r\n%18d.加权方位角<个数:%ld   单位:度.分秒>\r\n",
                                         "  序号 点    名   点    名                  加权方位角       权值\r\n",
                                         "%5ld  %-11.10s%-24.10s%12.7f %10.2f\r\n"};
constexpr MeasureTable kFixedSides{"\r\n\r\n%18d.固定边长<个数:%ld   单位:米>\r\n",
                                   "  序号 点    名   点    名                               固定边长\r\n",
                                   "%5ld  %-11.10s%-37.10s%10.4f\r\n"};
constexpr MeasureTable kWeightedSides{"\r\n\r\n%18d.加权观测边<个数:%ld   单位:米>\r\n",
                                      "  序号 点    名   点    名                  加权观测边       权值\r\n",
                                      "%5ld  %-11.10s%-26.10s%10.4f %10.2f\r\n"};

class RawReportWriter {
 public:
  RawReportWriter(PlaneModel& model, ReportFile& report, SectionNumber& section)
      : model_(model), report_(report), section_(section) {}

  // Returns the number of suspected gross errors found along the traverses.
  int Write(std::time_t now);

 private:
  void BasicInformation();
  // The next section, headed `heading` (taking its number and the count):
  // points first .. first+count-1 with their coordinates, numbered from 1.
  void PointTable(const char* heading, int first, int count);
  void KnownHeights();
  void PrecisionPairs();
  void Directions();
  void ReduceDirections();
  void Measures(const std::vector<PlaneMeasure>& list, const MeasureTable& table);
  void DistanceLines();
  void SlopeReductions();
  void HorizontalDistances();
  void Coordinates();

  bool SlopeMode() const { return IsSlopeMode(model_.calcMode); }

  PlaneModel& model_;  // the confirmed network; mode 4 reduces its direction sets
  ReportFile& report_;
  SectionNumber& section_;
  int points_ = 0;
  int known_ = 0;
  int approx_ = 0;
  int directions_ = 0;
  int lines_ = 0;
  int reduced_ = 0;
};

int RawReportWriter::Write(std::time_t now) {
  points_ = model_.pointCount();
  known_ = model_.knownCount;
  approx_ = model_.GivenCount() - known_;
  directions_ = model_.directionCount;
  lines_ = static_cast<int>(model_.distanceLines.size());
  reduced_ = static_cast<int>(model_.distances.size());

  report_.WriteTitleBlock(model_.networkName, now, section_);
  BasicInformation();

  if (known_ > 0) PointTable("\r\n\r\n%18d.已知点坐标<个数:%ld   单位:米>\r\n", 0, known_);
  if (approx_ > 0) PointTable("\r\n\r\n%18d.已知概略坐标<个数:%ld   单位:米>\r\n", known_, approx_);
  KnownHeights();
  PrecisionPairs();
  Directions();
  if (model_.calcMode == kNationalSystem && directions_ > 0) ReduceDirections();
  Measures(model_.fixedAzimuths, kFixedAzimuths);
  Measures(model_.weightedAzimuths, kWeightedAzimuths);
  DistanceLines();
  if (SlopeMode() && lines_ > 0) SlopeReductions();
  if (SlopeMode() && reduced_ > 0) HorizontalDistances();
  Measures(model_.fixedSides, kFixedSides);
  Measures(model_.weightedSides, kWeightedSides);
  Coordinates();

  int grossErrors = 0;
  if (model_.closureMode != 0 && model_.calcMode != kPrecisionEstimate) {
    // The geometry sees the direction sets as reduced above.
    const NetworkGeometry geo(model_);
    if (directions_ > 6) TriangleClosures(geo, report_, section_);
    if (directions_ > 3 && reduced_ >= 1 && known_ >= 2) grossErrors = TraverseClosures(model_, geo, report_, section_);
  }
  report_.Printf("%s\r\n\r\n", " ");
  return grossErrors;
}

void RawReportWriter::BasicInformation() {
  report_.PrintText("\r\n%26d.%s\r\n", section_.Take(), Gbk("控制网基本信息").c_str());
  report_.Rule();
  auto counts = [&](const char* a, size_t va, const char* b, size_t vb, const char* c, size_t vc) {
    report_.Printf("%17s%-8ld%-12s%-8ld%-12s%-8ld\r\n", Gbk(a).c_str(), static_cast<long>(va), Gbk(b).c_str(),
                   static_cast<long>(vb), Gbk(c).c_str(), static_cast<long>(vc));
  };
  const PlaneModel& m = model_;
  counts("全网总点数:  ", points_, "已知点点数:  ", known_, "待定点点数:  ", m.UnknownPointCount());
  counts("概略坐标点数:", approx_, "未设站点数:  ", m.NonStationCount(), "多余观测数:  ", m.redundancy);
  counts("方向观测个数:", directions_, "固定方位个数:", m.fixedAzimuths.size(), "带权方位个数:",
         m.weightedAzimuths.size());
  counts("边长观测条数:", lines_, "固定边条数:  ", m.fixedSides.size(), "带权边长个数:", m.weightedSides.size());
  report_.Printf("%17s%-8.2f%-12s%-8.2f%-12s%-8.2f\r\n", Gbk("验前中误差:  ").c_str(), Shown(m.directionError),
                 Gbk("固定误差(mm):").c_str(), Shown(m.distanceFixedError), Gbk("比例误差ppm: ").c_str(),
                 Shown(m.distanceScaleError));
  report_.Printf("%17s%-8.0f%-12s%-8.2f%-12s%-9.0f\r\n", Gbk("投影面高程:  ").c_str(), Shown(m.projectionHeight),
                 Gbk("折光系数:    ").c_str(), Shown(m.refraction), Gbk("Y坐标平移:  ").c_str(), Shown(m.yOffset));
  report_.Rule();
}

void RawReportWriter::PointTable(const char* heading, int first, int count) {
  report_.TableHead(FormatText(heading, section_.Take(), static_cast<long>(count)),
                    "  序号 点    名               X坐标         Y坐标\r\n");
  for (int i = 0; i < count; ++i) {
    const PlanePoint& point = model_.points[first + i];
    report_.Printf("%5ld  %-16.10s%15.4f%15.4f\r\n", static_cast<long>(i + 1), point.name.c_str(), Shown(point.x),
                   Shown(point.y));
  }
  report_.Rule();
}

void RawReportWriter::KnownHeights() {
  const size_t heights = model_.knownHeights.size();
  if (!SlopeMode() || lines_ == 0 || heights == 0) return;
  report_.TableHead(
      FormatText("\r\n\r\n%18d.已知高程点<个数:%ld   单位:米>\r\n", section_.Take(), static_cast<long>(heights)),
      "  序号 点    名                                           H高程\r\n");
  long row = 0;
  for (const PlaneKnownHeight& known : model_.knownHeights) {
    report_.Printf("%5ld  %-48.10s%10.4f\r\n", ++row, known.name.c_str(), Shown(known.height));
  }
  report_.Rule();
}

void RawReportWriter::PrecisionPairs() {
  const size_t pairs = model_.pairs.size();
  if (pairs == 0) return;
  report_.TableHead(FormatText("\r\n\r\n%18d.评定精度两端点<个数:%ld>\r\n", section_.Take(), static_cast<long>(pairs)),
                    "  序号 点    名   点    名\r\n");
  long row = 0;
  for (const PlaneSide& pair : model_.pairs) {
    report_.Printf("%5ld  %-11.10s%-11.10s\r\n", ++row, pair.ends.fromName.c_str(), pair.ends.toName.c_str());
  }
  report_.Rule();
}

void RawReportWriter::Directions() {
  if (directions_ == 0) return;
  report_.TableHead(FormatText("\r\n\r\n%18d.方向观测值<个数:%ld   单位:度.分秒>\r\n", section_.Take(),
                               static_cast<long>(directions_)),
                    "  序号 点    名   点    名                             方向观测值\r\n");
  long row = 0;
  for (const PlaneMeasure& d : model_.enteredDirections) {
    report_.Printf("%5ld  %-11.10s%-35.10s%12.6f\r\n", ++row, d.ends.fromName.c_str(), d.ends.toName.c_str(),
                   Shown(d.value));
  }
  report_.Rule();
}

// Mode 4: each direction s->t of a set gets the arc-to-chord correction
// delta = -(2 Yt + Ys - 3 Yoffset)(Xt - Xs) / (6 R^2); the set keeps its zero
// direction, so every later direction changes by its delta minus the first's.
void RawReportWriter::ReduceDirections() {
  report_.TableHead(FormatText("\r\n\r\n%18d.改化后方向观测值<个数:%ld   单位:度.分秒>\r\n", section_.Take(),
                               static_cast<long>(directions_)),
                    "  序号 点    名   点    名               方向改化(秒)  方向观测值\r\n");
  PlaneModel& model = model_;
  const double r2 = kEarthRadius * kEarthRadius;
  long row = 0;
  for (const PlaneDirectionSet& set : model.directionSets) {
    const PlanePoint& s = model.points[set.station];
    bool first = true;
    double firstDelta = 0.0;
    for (int k = set.begin; k < set.end; ++k) {
      PlaneDirection& direction = model.directions[k];
      if (direction.target < 0) continue;
      const PlanePoint& t = model.points[direction.target];
      // Arc-to-chord correction of the direction s -> t on the Gauss plane:
      // the station's distance from the central meridian counts twice.
      const double delta = -(1.0 / 6.0) * (2.0 * s.y + t.y - 3.0 * model.yOffset) * (t.x - s.x) / r2;
      if (!std::isfinite(delta)) continue;
      if (first) {
        first = false;
        firstDelta = delta;
      } else {
        const double reduced = RadiansToDms(DmsToRadians(direction.dms) + delta - firstDelta);
        if (std::isfinite(reduced)) direction.dms = reduced;
      }
      report_.Printf("%5ld  %-11.10s%-20.10s%10.3f     %12.6f\r\n", ++row, s.name.c_str(),
                     direction.targetName.c_str(), Shown(delta * kRhoSeconds), Shown(direction.dms));
    }
  }
  report_.Rule();
}

// A table of fixed or weighted azimuths or sides.
void RawReportWriter::Measures(const std::vector<PlaneMeasure>& list, const MeasureTable& table) {
  if (list.empty()) return;
  report_.TableHead(FormatText(table.heading, section_.Take(), static_cast<long>(list.size())), table.columns);
  long number = 0;
  for (const PlaneMeasure& m : list) {
    report_.Printf(table.row, ++number, m.ends.fromName.c_str(), m.ends.toName.c_str(), Shown(m.value), Shown(m.weight));
  }
  report_.Rule();
}

void RawReportWriter::DistanceLines() {
  if (lines_ == 0) return;
  const std::string heading =
      FormatText("\r\n\r\n%18d.边长观测值<个数:%ld   单位:米>\r\n", section_.Take(), static_cast<long>(lines_));
  if (!SlopeMode()) {
    report_.TableHead(heading, "  序号 点    名   点    名                             边长观测值\r\n");
    long row = 0;
    for (const PlaneDistanceLine& l : model_.distanceLines) {
      report_.Printf("%5ld  %-11.10s%-37.10s%10.4f\r\n", ++row, l.ends.fromName.c_str(), l.ends.toName.c_str(),
                     Shown(l.distance));
    }
  } else {
    report_.TableHead(heading, "  序号 点    名   点    名   边长观测值   仪高    目标   竖角D.MS\r\n");
    long row = 0;
    for (const PlaneDistanceLine& l : model_.distanceLines) {
      report_.Printf("%5ld  %-11.10s%-11.10s%10.4f %7.3f %7.3f %9.5f\r\n", ++row, l.ends.fromName.c_str(),
                     l.ends.toName.c_str(), Shown(l.distance), Shown(l.instrumentHeight), Shown(l.targetHeight),
                     Shown(l.verticalAngle));
    }
  }
  report_.Rule();
}

// Each slope line reduced to the horizontal; a line measured back later in
// the table is paired with it (the first such line not yet paired), and the
// pair shows how well the two height differences and lengths agree. The
// reduced-distance table itself was formed in the same order when the input
// was read.
void RawReportWriter::SlopeReductions() {
  const std::vector<PlaneDistanceLine>& lines = model_.distanceLines;
  const double c = (1.0 - model_.refraction) / (2.0 * kEarthRadius);
  auto reduce = [&](int i, double& heightDiff, double& length) {
    double alpha = DmsToRadians(lines[i].verticalAngle);
    if (model_.verticalAngleKind == 1) alpha = alpha > kPi ? alpha - 1.5 * kPi : kPi / 2.0 - alpha;
    const double d = lines[i].distance;
    const double cosAlpha = std::cos(alpha);
    const double h = d * (std::sin(alpha) + d * cosAlpha * cosAlpha * c);
    const double squared = d * d - h * h;
    length = squared > 0.0 ? std::sqrt(squared) : 0.0;
    heightDiff = h + lines[i].instrumentHeight - lines[i].targetHeight;
  };
  auto key = [&](const std::string& from, const std::string& to) {
    std::string k(from);
    k.push_back('\0');
    k.append(to);
    return k;
  };
  auto sideKey = [&](const PlaneEnds& ends) {
    return ends.fromName < ends.toName ? key(ends.fromName, ends.toName) : key(ends.toName, ends.fromName);
  };

  // Lines by (from, to), ascending.
  std::unordered_map<std::string, std::vector<int>> byPair;
  for (int i = 0; i < lines_; ++i) byPair[key(lines[i].ends.fromName, lines[i].ends.toName)].push_back(i);

  const int limit = model_.distanceLimit;
  std::vector<uint8_t> consumed(lines_, 0);
  std::unordered_set<std::string> sides;
  std::vector<SlopeRow> rows;
  for (int i = 0; i < lines_ && static_cast<int>(sides.size()) < limit; ++i) {
    if (consumed[i]) continue;
    int reverse = -1;
    if (const auto it = byPair.find(key(lines[i].ends.toName, lines[i].ends.fromName)); it != byPair.end()) {
      for (int j : it->second) {
        if (j > i && !consumed[j]) {
          reverse = j;
          break;
        }
      }
    }
    sides.insert(sideKey(lines[i].ends));
    double dh = 0.0, s = 0.0;
    reduce(i, dh, s);
    if (reverse < 0) {
      rows.push_back({i, dh, s, SlopeRow::kSingle, 0.0});
      continue;
    }
    consumed[reverse] = 1;
    double dhBack = 0.0, sBack = 0.0;
    reduce(reverse, dhBack, sBack);
    rows.push_back({i, dh, s, SlopeRow::kForward, (dh + dhBack) * 1000.0});
    rows.push_back({reverse, dhBack, sBack, SlopeRow::kBackward, (s - sBack) * 1000.0});
  }

  report_.TableHead(
      FormatText("\r\n\r\n%18d.平距高差计算<个数:%ld   单位:米>\r\n", section_.Take(), static_cast<long>(rows.size())),
      "  序号 点    名   点    名         高差       平距     差值(毫米)\r\n");
  long number = 0;
  for (const SlopeRow& r : rows) {
    const char* from = lines[r.line].ends.fromName.c_str();
    const char* to = lines[r.line].ends.toName.c_str();
    if (r.kind == SlopeRow::kSingle) {
      report_.Printf("%5ld  %-11.10s%-11.10s  %10.4f  %10.4f\r\n", ++number, from, to, Shown(r.heightDiff),
                     Shown(r.length));
    } else {
      report_.Printf("%5ld  %-11.10s%-11.10s  %10.4f  %10.4f  %s=%6.1f\r\n", ++number, from, to, Shown(r.heightDiff),
                     Shown(r.length), r.kind == SlopeRow::kForward ? "dh" : "ds", Shown(r.difference));
    }
  }
  report_.Rule();
}

void RawReportWriter::HorizontalDistances() {
  const std::string heading =
      model_.calcMode == kSlopeReduced
          ? FormatText("\r\n\r\n%18d.水平边长观测值<个数:%ld   单位:米>\r\n", section_.Take(), static_cast<long>(reduced_))
          : FormatText("\r\n\r\n%10d.水平距,高程投影改正边长观测值<个数:%ld   单位:米>\r\n", section_.Take(),
                       static_cast<long>(reduced_));
  report_.TableHead(heading, "  序号 点    名   点    名                  高差       边长观测值\r\n");
  long row = 0;
  for (const PlaneDistance& d : model_.distances) {
    report_.Printf("%5ld  %-11.10s%-20.10s%12.4f%15.4f\r\n", ++row, d.ends.fromName.c_str(), d.ends.toName.c_str(),
                   Shown(d.heightDiff), Shown(d.length));
  }
  report_.Rule();
}

void RawReportWriter::Coordinates() {
  const char* heading = model_.redundancy >= 1 ? "\r\n\r\n%18d.近似坐标<个数:%ld   单位:米>\r\n"
                                               : "\r\n\r\n%18d.待定点坐标<个数:%ld   单位:米>\r\n";
  if (!SlopeMode() || reduced_ == 0) {
    PointTable(heading, 0, points_);
  } else {
    report_.TableHead(FormatText(heading, section_.Take(), static_cast<long>(points_)),
                      "  序号 点    名               X坐标          Y坐标        H高程\r\n");
    long row = 0;
    for (const PlanePoint& p : model_.points) {
      report_.Printf("%5ld  %-16.10s%15.4f%15.4f  %10.4f\r\n", ++row, p.name.c_str(), Shown(p.x), Shown(p.y),
                     Shown(p.h));
    }
    report_.Rule();
  }
}

}  // namespace

bool WritePlaneRawReport(PlaneModel& model, PlatformServices& platform, const std::string& reportPath,
                         SectionNumber& section, std::time_t now) {
  if (model.redundancy < 0) return ShowAndFail(platform, Gbk("起始数据不足，秩亏网，不能解算 !!!"));
  model.traverses.clear();
  ReportFile report;
  if (!CreateReportOrTell(report, reportPath, platform)) return false;
  for (int gross = RawReportWriter(model, report, section).Write(now); gross > 0; --gross) platform.Beep();
  return CloseReportOrTell(report, platform);
}

}  // namespace qp
