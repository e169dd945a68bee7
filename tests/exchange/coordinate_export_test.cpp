#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "common/gbk_text.h"
#include "exchange/exported_points.h"
#include "exchange/geographic_conversion.h"
#include "exchange/point_texts.h"

namespace qp {
namespace {

// Reference longitudes and latitudes from PROJ's cs2cs (CGCS2000 geographic),
// for network coordinates as the network holds them: Y without zone number.
struct Converted {
  const char* crs;
  double north, east;
  double lon, lat;
};

const Converted kConverted[] = {
    {"EPSG:4547", 3805123.456, 512345.678, 114.134223835, 34.373708027},  // 3-degree zone, CM 114E
    {"EPSG:4513", 4207516.8949, 517566.5009, 75.2, 38.0},  // zone 25: the false easting carries the zone number
    {"EPSG:4491", 4207516.8949, 517566.5009, 75.2, 38.0},  // 6-degree zone 13, with the zone number
    {"EPSG:4534", 4207516.8949, 517566.5009, 75.2, 38.0},  // the same zone without it
    {"+proj=tmerc +lon_0=114 +k=1 +x_0=500000 +ellps=GRS80 +towgs84=0,0,0", 3805123.456, 512345.678, 114.134223835,
     34.373708027},
};

TEST(CoordinateExportTest, ConvertsGaussKrugerZonesAsProjDoes) {
  for (const Converted& c : kConverted) {
    SCOPED_TRACE(c.crs);
    auto created = GeographicConversion::Create(c.crs);
    ASSERT_TRUE(std::holds_alternative<GeographicConversion>(created)) << std::get<std::string>(created);
    const std::optional<LonLat> p = std::get<GeographicConversion>(created).Convert(c.north, c.east);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->lon, c.lon, 2e-9);
    EXPECT_NEAR(p->lat, c.lat, 2e-9);
  }
}

TEST(CoordinateExportTest, RefusesWhatWouldBeWrongOrIsNoPlaneSystem) {
  const struct {
    const char* crs;
    const char* reason;
  } refused[] = {
      {"EPSG:2385", "Xian 1980"},                            // 1980 zone: only a ballpark datum shift
      {"+proj=tmerc +lon_0=114 +ellps=GRS80", "Unknown"},  // a datum nobody named
      {"EPSG:4490", "不是投影坐标系统"},
      {"EPSG:99999999", "未知的坐标参考系"},
      {"nonsense", "未知的坐标参考系"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.crs);
    auto created = GeographicConversion::Create(r.crs);
    ASSERT_TRUE(std::holds_alternative<std::string>(created));
    EXPECT_NE(std::get<std::string>(created).find(r.reason), std::string::npos) << std::get<std::string>(created);
  }
  // A point far outside the zone's area of use (a wrong zone or system).
  auto zone = GeographicConversion::Create("EPSG:4547");
  EXPECT_FALSE(std::get<GeographicConversion>(zone).Convert(1000000.0, 512345.678));
  EXPECT_FALSE(std::get<GeographicConversion>(zone).Convert(NAN, 512345.678));
}

TEST(CoordinateExportTest, WritesPlanePrecisionFromTheEllipseAndHeightsWithTheirInputCoordinates) {
  PlaneModel plane;
  plane.points.resize(2);
  plane.points[0] = {Gbk("城北"), PlanePointRole::Known, 3805123.456, 512345.678};
  plane.points[1].name = "N,2";
  plane.points[1].x = 3803456.78931;
  plane.points[1].y = 515432.10949;
  EXPECT_FALSE(ExportedNetworkOf(plane));  // nothing computed yet
  // An ellipse along the y axis: m_x = F, m_y = E.
  plane.points[1].ellipse = {0.5f, 0.3f, 90.0f};
  const auto points = ExportedNetworkOf(plane);
  ASSERT_TRUE(points);
  EXPECT_EQ(CsvText(*points),
            "name,kind,x_north_m,y_east_m,h_m,mx_cm,my_cm,mxy_cm,E_cm,F_cm,Q_dms\r\n"
            "城北,已知点,3805123.4560,512345.6780,,,,,,,\r\n"
            "\"N,2\",待定点,3803456.7893,515432.1095,,0.30,0.50,0.58,0.50,0.30,90.0000\r\n");

  HeightModel height;
  height.points.resize(2);
  height.points[0] = {"BM1", HeightPointRole::Known, 30.125};
  height.points[1] = {"A", HeightPointRole::Unknown, 32.4549, 1.14f, 99.0, 99.0};  // x, y: the diagram's
  height.coordinates = {{"BM1", 3805000.0, 512000.0}};
  const auto heights = ExportedNetworkOf(height);
  ASSERT_TRUE(heights);
  const std::vector<std::optional<LonLat>> geographic = {LonLat{114.1, 34.3}, std::nullopt};
  EXPECT_EQ(GeoJsonText(*heights, geographic),
            "{\"type\":\"FeatureCollection\",\"features\":[\n"
            "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[114.100000000,34.300000000]},"
            "\"properties\":{\"name\":\"BM1\",\"kind\":\"已知点\",\"x_north_m\":3805000.0000,\"y_east_m\":512000.0000,"
            "\"h_m\":30.1250,\"mH_mm\":null}},\n"
            "{\"type\":\"Feature\",\"geometry\":null,\"properties\":{\"name\":\"A\",\"kind\":\"待定点\","
            "\"x_north_m\":null,\"y_east_m\":null,\"h_m\":32.4549,\"mH_mm\":1.14}}\n]}\n");
}

}  // namespace
}  // namespace qp
