#include "exchange/geographic_conversion.h"

#include <proj.h>

#include <cmath>
#include <string_view>

namespace qp {
namespace {

// A point may lie this far (degrees) outside the system's area of use: zones
// overlap at their edges, a wrong zone is 3 or 6 degrees away.
constexpr double kAreaMargin = 0.5;
// A false easting of a million metres or more carries the zone number.
constexpr double kZoneNumberUnit = 1e6;

using Pj = std::unique_ptr<PJ, decltype([](PJ* pj) { proj_destroy(pj); })>;

bool IsWgs84Compatible(std::string_view datum) {
  return datum == "China 2000" || datum.starts_with("World Geodetic System 1984");
}

std::string NameOf(const PJ* pj) {
  const char* name = pj ? proj_get_name(pj) : nullptr;
  return name ? name : "?";
}

// The false easting of the projected system `crs` (a bound system: its source).
double FalseEasting(PJ_CONTEXT* ctx, const PJ* crs) {
  Pj projected(proj_get_type(crs) == PJ_TYPE_BOUND_CRS ? proj_get_source_crs(ctx, crs) : proj_clone(ctx, crs));
  if (!projected) return 0.0;
  Pj conversion(proj_crs_get_coordoperation(ctx, projected.get()));
  if (!conversion) return 0.0;
  const int index = proj_coordoperation_get_param_index(ctx, conversion.get(), "False easting");
  double value = 0.0;
  if (index < 0 || !proj_coordoperation_get_param(ctx, conversion.get(), index, nullptr, nullptr, nullptr, &value,
                                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
    return 0.0;
  return value;
}

}  // namespace

struct GeographicConversion::State {
  PJ_CONTEXT* ctx = nullptr;
  Pj operation;
  double zoneNumberEasting = 0.0;
  bool hasArea = false;
  double west = 0.0, south = 0.0, east = 0.0, north = 0.0;
  ~State() {
    operation.reset();
    proj_context_destroy(ctx);
  }
};

GeographicConversion::GeographicConversion(std::unique_ptr<State> state) : state_(std::move(state)) {}
GeographicConversion::GeographicConversion(GeographicConversion&&) noexcept = default;
GeographicConversion& GeographicConversion::operator=(GeographicConversion&&) noexcept = default;
GeographicConversion::~GeographicConversion() = default;

std::variant<GeographicConversion, std::string> GeographicConversion::Create(const std::string& crsText) {
  auto state = std::make_unique<State>();
  state->ctx = proj_context_create();
  PJ_CONTEXT* ctx = state->ctx;
  proj_log_level(ctx, PJ_LOG_NONE);
  std::string definition = crsText;
  if (definition.starts_with('+') && definition.find("+type=crs") == std::string::npos) definition += " +type=crs";
  Pj crs(proj_create(ctx, definition.c_str()));
  if (!crs) return "未知的坐标参考系: " + crsText;
  const PJ_TYPE type = proj_get_type(crs.get());
  if (type != PJ_TYPE_PROJECTED_CRS && type != PJ_TYPE_BOUND_CRS)
    return "坐标参考系不是投影坐标系统: " + crsText + " (" + NameOf(crs.get()) + ")";

  Pj geodetic(proj_crs_get_geodetic_crs(ctx, crs.get()));
  Pj datum(geodetic ? proj_crs_get_datum_forced(ctx, geodetic.get()) : nullptr);
  const std::string datumName = NameOf(datum.get());
  Pj target;
  if (type == PJ_TYPE_PROJECTED_CRS && IsWgs84Compatible(datumName)) {
    target.reset(proj_clone(ctx, geodetic.get()));
  } else {
    target.reset(proj_create(ctx, "EPSG:4326"));
  }
  Pj operation(target ? proj_create_crs_to_crs_from_pj(ctx, crs.get(), target.get(), nullptr, nullptr) : nullptr);
  if (!operation) return "PROJ 找不到从 " + NameOf(crs.get()) + " 到经纬度的转换";
  if (proj_coordoperation_has_ballpark_transformation(ctx, operation.get())) {
    return "PROJ 没有从 " + datumName + " 到 WGS 84 的基准转换参数(只有近似转换, 坐标会偏差数十米), 未导出: " +
           crsText + "; CGCS2000 坐标请用 EPSG:4491-4554, 独立坐标系统的 PROJ 字符串请给出 +towgs84=...";
  }
  state->operation.reset(proj_normalize_for_visualization(ctx, operation.get()));
  if (!state->operation) return "PROJ 找不到从 " + NameOf(crs.get()) + " 到经纬度的转换";
  const double falseEasting = FalseEasting(ctx, crs.get());
  state->zoneNumberEasting = std::floor(falseEasting / kZoneNumberUnit) * kZoneNumberUnit;
  state->hasArea = proj_get_area_of_use(ctx, crs.get(), &state->west, &state->south, &state->east, &state->north,
                                        nullptr) != 0 &&
                   state->west > -1000.0;
  return GeographicConversion(std::move(state));
}

std::optional<LonLat> GeographicConversion::Convert(double north, double east) const {
  if (!std::isfinite(north) || !std::isfinite(east)) return std::nullopt;
  if (east < kZoneNumberUnit) east += state_->zoneNumberEasting;
  const PJ_COORD out = proj_trans(state_->operation.get(), PJ_FWD, proj_coord(east, north, 0.0, 0.0));
  const LonLat p{out.lp.lam, out.lp.phi};
  if (!std::isfinite(p.lon) || !std::isfinite(p.lat) || std::fabs(p.lat) > 90.0) return std::nullopt;
  if (state_->hasArea) {
    const bool inside = p.lat >= state_->south - kAreaMargin && p.lat <= state_->north + kAreaMargin &&
                        (state_->west <= state_->east
                             ? p.lon >= state_->west - kAreaMargin && p.lon <= state_->east + kAreaMargin
                             : p.lon >= state_->west - kAreaMargin || p.lon <= state_->east + kAreaMargin);
    if (!inside) return std::nullopt;
  }
  return p;
}


}  // namespace qp
