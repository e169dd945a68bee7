#include "tools/system_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;

struct Point {
  std::string name;
  double x;
  double y;
};

std::string Lines(const std::vector<Point>& points) {
  std::string text;
  for (const auto& p : points) text += Format("%s,%.4f,%.4f\r\n", p.name.c_str(), p.x, p.y);
  return text;
}

// A conformal map of the old plane into the new one: shift, scale and
// rotation, plus optional second- and third-degree terms (complex numbers
// around a fixed origin).
struct Mapping {
  std::complex<double> c1{0.99998765, 0.00012345};
  std::complex<double> c2{0.0, 0.0};
  std::complex<double> c3{0.0, 0.0};
  Point operator()(const Point& p) const {
    const std::complex<double> z(p.x - 3400000.0, p.y - 500000.0);
    const std::complex<double> w = std::complex<double>(3400123.456, 500987.654) + c1 * z + c2 * z * z + c3 * z * z * z;
    return {p.name, w.real(), w.imag()};
  }
};

std::vector<Point> Grid(int n) {
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) {
    points.push_back({Format("K%d", i + 1), 3400000.0 + 1234.5 * std::cos(i * 2.1) + 37.0 * i,
                      500000.0 + 2345.6 * std::sin(i * 2.1) - 53.0 * i});
  }
  return points;
}

struct SystemFormTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  SystemTransformForm form;
  std::string trs = dir.File("T.TRS");

  void SetUp() override { ASSERT_TRUE(form.CreateFile(trs)); }
  bool Run(const std::vector<Point>& oldPoints, const std::vector<Point>& newPoints) {
    form.oldText = Lines(oldPoints);
    form.newText = Lines(newPoints);
    platform.messages.clear();
    return form.Execute(platform).accepted;
  }
  std::string Report() { return GbkToUtf8(ReadBytes(form.ReportPath())); }
};

std::vector<Point> Mapped(const std::vector<Point>& points, const Mapping& map, size_t count) {
  std::vector<Point> out;
  for (size_t i = 0; i < count; ++i) out.push_back(map(points[i]));
  return out;
}

TEST_F(SystemFormTest, TwoCommonPointsGiveASimilarityTransformation) {
  const Mapping similarity;
  const auto oldPoints = Grid(6);
  ASSERT_TRUE(Run(oldPoints, Mapped(oldPoints, similarity, 2))) << platform.LastMessageUtf8();
  const SystemTransformFile& r = form.Record();
  EXPECT_EQ(r.parameterCount, 4);
  EXPECT_EQ(r.commonCount, 2);
  // Every old point lands where the similarity puts it.
  for (int i = 1; i <= r.oldCount; ++i) {
    const Point expected = similarity(oldPoints[i - 1]);
    EXPECT_NEAR(r.transformedX[i], expected.x, 5e-4) << i;
    EXPECT_NEAR(r.transformedY[i], expected.y, 5e-4) << i;
  }
  const std::string report = Report();
  EXPECT_EQ(report.find("残差"), std::string::npos);
  EXPECT_NE(report.find("3.重合点新坐标系统的坐标<个数:2   单位:米>"), std::string::npos);
  EXPECT_NE(report.find("4.旧系统下坐标转换到新系统结果<个数:4 单位:米>"), std::string::npos);
}

TEST_F(SystemFormTest, UpToFourCommonPointsAreFittedExactly) {
  Mapping curved;
  curved.c2 = {3e-9, -2e-9};
  curved.c3 = {1e-13, 4e-13};
  const auto oldPoints = Grid(4);
  for (int m = 2; m <= 4; ++m) {
    SCOPED_TRACE(m);
    // Any new coordinates at all: the model has as many parameters as
    // observations, so it passes through them.
    std::vector<Point> newPoints = Mapped(oldPoints, curved, m);
    for (auto& p : newPoints) p.x += 0.05 * p.name.size();
    ASSERT_TRUE(Run(oldPoints, newPoints)) << platform.LastMessageUtf8();
    const SystemTransformFile& r = form.Record();
    EXPECT_EQ(r.parameterCount, 2 * m);
    for (int i = 1; i <= m; ++i) {
      EXPECT_NEAR(r.transformedX[i], r.newX[i], 1e-6);
      EXPECT_NEAR(r.transformedY[i], r.newY[i], 1e-6);
    }
    EXPECT_EQ(Report().find("残差"), std::string::npos);
  }
}

TEST_F(SystemFormTest, FiveAndMoreCommonPointsReportResidualsAndSigma) {
  Mapping cubic;
  cubic.c2 = {3e-9, -2e-9};
  cubic.c3 = {1e-13, 4e-13};
  const auto oldPoints = Grid(9);
  for (int m : {5, 7, 9}) {
    SCOPED_TRACE(m);
    std::vector<Point> newPoints = Mapped(oldPoints, cubic, m);
    // Centimetre disturbances the cubic cannot absorb.
    for (int i = 0; i < m; ++i) {
      newPoints[i].x += 0.01 * ((i * 7) % 5 - 2);
      newPoints[i].y -= 0.01 * ((i * 3) % 4 - 1.5);
    }
    ASSERT_TRUE(Run(oldPoints, newPoints)) << platform.LastMessageUtf8();
    const SystemTransformFile& r = form.Record();
    EXPECT_EQ(r.parameterCount, 8);
    double sum = 0.0;
    for (int i = 1; i <= m; ++i) {
      const double vx = (r.transformedX[i] - r.newX[i]) * 1000.0;
      const double vy = (r.transformedY[i] - r.newY[i]) * 1000.0;
      EXPECT_LT(std::hypot(vx, vy), 40.0);
      sum += vx * vx + vy * vy;
    }
    EXPECT_GT(r.sigma, 1.0);
    EXPECT_DOUBLE_EQ(r.sigma, std::sqrt(sum / (2 * m - 8)));
    const std::string report = Report();
    EXPECT_NE(report.find(Format("3.新旧坐标转换残差计算<个数: %5d>", 2 * m)), std::string::npos);
    EXPECT_NE(report.find(Format("新旧坐标换算中误差= %8.2f毫米", r.sigma)), std::string::npos);
    EXPECT_NE(report.find(Format("4.重合点新坐标系统的坐标<个数:%d", m)), std::string::npos);
  }
  // Undisturbed, a cubic conformal map is recovered: points without partner
  // land where it puts them.
  ASSERT_TRUE(Run(oldPoints, Mapped(oldPoints, cubic, 6)));
  const SystemTransformFile& r = form.Record();
  EXPECT_LT(r.sigma, 0.1);
  for (int i = 7; i <= r.oldCount; ++i) {
    const Point expected = cubic(oldPoints[i - 1]);
    EXPECT_NEAR(r.transformedX[i], expected.x, 1e-3) << i;
    EXPECT_NEAR(r.transformedY[i], expected.y, 1e-3) << i;
  }
}

TEST_F(SystemFormTest, CommonPointsAreMatchedByNameAndReordered) {
  const Mapping map;
  const Point a{"A", 3400000.0, 500000.0};
  const Point b{"B", 3401000.0, 502000.0};
  const Point c{"C", 3399000.0, 501000.0};
  ASSERT_TRUE(Run({b, a, c}, {map(c), map(a)})) << platform.LastMessageUtf8();
  const SystemTransformFile& r = form.Record();
  EXPECT_EQ(SlotText(r.oldNames[1]), "C");
  EXPECT_EQ(SlotText(r.oldNames[2]), "A");
  EXPECT_EQ(SlotText(r.oldNames[3]), "B");
  EXPECT_EQ(r.oldX[3], b.x);
  EXPECT_EQ(SlotText(r.newNames[1]), "C");
  EXPECT_EQ(SlotText(r.newNames[2]), "A");

  struct Case {
    std::vector<Point> oldPoints;
    std::vector<Point> newPoints;
    const char* message;
  };
  const Point d{"D", 3402000.0, 499000.0};
  const Case cases[] = {
      {{a, b, c}, {map(a), map(b), map(d)}, "新坐标点必须是重合点 !"},
      {{a, b, a}, {map(a), map(b)}, "新旧坐标重合点不唯一 !"},
      {{a, b, c}, {map(a), map(b), map(a)}, "新旧坐标重合点不唯一 !"},
      {{a, b, c}, {map(a)}, "重合点数不足 !"},
      {{a, b, c}, {}, "重合点数不足 !"},
      {{a, b}, {map(d), map(c)}, "重合点数不足 !"},
  };
  for (const Case& k : cases) {
    const std::string before = ReadBytes(trs);
    EXPECT_FALSE(Run(k.oldPoints, k.newPoints));
    EXPECT_EQ(platform.LastMessageUtf8(), k.message);
    EXPECT_EQ(ReadBytes(trs), before);
  }
}

TEST_F(SystemFormTest, CoincidentCommonPointsAreReportedNotComputed) {
  const Mapping map;
  const auto grid = Grid(5);
  std::vector<Point> twice = {grid[0], grid[0]};
  twice[1].name = "K1b";
  std::vector<Point> fiveOnThree = {grid[0], grid[1], grid[2], grid[0], grid[1]};
  fiveOnThree[3].name = "K4";
  fiveOnThree[4].name = "K5";
  for (const auto& oldPoints : {twice, fiveOnThree}) {
    ASSERT_TRUE(Run(grid, Mapped(grid, map, 2)));
    const std::string file = ReadBytes(trs);
    const std::string report = ReadBytes(form.ReportPath());
    EXPECT_FALSE(Run(oldPoints, Mapped(oldPoints, map, oldPoints.size())));
    EXPECT_EQ(platform.LastMessageUtf8(), "重合点点位重合或过于接近, 无法解算转换参数 !");
    EXPECT_EQ(ReadBytes(trs), file);
    EXPECT_EQ(ReadBytes(form.ReportPath()), report);
  }
  // Points on one line are no obstacle to a conformal fit.
  const std::vector<Point> line = {{"L1", 3400000, 500000}, {"L2", 3400500, 500500}, {"L3", 3401500, 501500}};
  EXPECT_TRUE(Run(line, Mapped(line, map, 3))) << platform.LastMessageUtf8();
}

TEST_F(SystemFormTest, ListRules) {
  form.oldText = "A,1,2\r\nB,x,3\r\n";
  form.newText = "A,1,2\r\n";
  EXPECT_FALSE(form.Execute(platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "旧坐标点第[2]行X坐标不正确!");  // numbered from 1
  // Errors in the new list use the same texts.
  form.oldText = "A,1,2\r\nB,2,3\r\n";
  form.newText = "A,1,2\r\nB;2;3\r\n";
  EXPECT_FALSE(form.Execute(platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "旧坐标第[2]行数据不正确!");
  // Negative coordinates are fine in plane systems of either kind.
  form.oldText = "A,-100.5,-200\r\nB,300,-400.25\r\n";
  form.newText = "A,-90,-210\r\nB,310,-390\r\n";
  EXPECT_TRUE(form.Execute(platform)) << platform.LastMessageUtf8();
  form.title = std::string(33, 'T');
  EXPECT_FALSE(form.Execute(platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "标题字符数超过了32 !");
}

TEST_F(SystemFormTest, ListsHold1019Points) {
  std::vector<Point> many = Grid(1020);
  const Mapping map;
  form.oldText = Lines(many);
  form.newText = Lines(Mapped(many, map, 5));
  ASSERT_TRUE(form.Execute(platform)) << platform.LastMessageUtf8();
  EXPECT_EQ(form.Record().oldCount, 1019);
  auto lineCount = [](const std::string& text) {
    size_t n = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
    return n;
  };
  EXPECT_EQ(lineCount(form.ResultText()), 1019u);
  SystemTransformForm again;
  ASSERT_TRUE(again.LoadFile(trs));
  EXPECT_EQ(again.Record().oldCount, 1019);
  EXPECT_EQ(lineCount(again.oldText), 1019u);
}

TEST_F(SystemFormTest, FileRules) {
  SystemTransformForm fresh;
  fresh.oldText = "A,1,2\r\n";
  EXPECT_FALSE(fresh.PointTextEdited(platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "首先新建或打开一个坐标转换数据文件 !");
  EXPECT_TRUE(fresh.oldText.empty() && fresh.newText.empty());
  platform.messages.clear();
  fresh.oldText = "A,1,2\r\nB,3,4\r\n";
  fresh.newText = fresh.oldText;
  EXPECT_FALSE(fresh.Execute(platform));  // does nothing at all
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(platform.questions.empty());

  // A loaded file fills both point edits.
  const auto grid = Grid(3);
  ASSERT_TRUE(Run(grid, Mapped(grid, Mapping{}, 2)));
  fresh.ChooseFile(trs, platform);
  EXPECT_TRUE(fresh.FileChosen());
  const SystemTransformFile& r = form.Record();
  EXPECT_EQ(fresh.newText, Format("K1,%.3f,%.3f\r\nK2,%.3f,%.3f\r\n", r.newX[1], r.newY[1], r.newX[2], r.newY[2]));
  EXPECT_NE(fresh.oldText.find("\r\nK3,"), std::string::npos);
  EXPECT_TRUE(fresh.PointTextEdited(platform));
}

}  // namespace
}  // namespace qp
