// Helpers of the coordinate-tool tests: golden reports, an independent
// transverse Mercator projection (PROJ's cs2cs, when installed), D.MS values.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/golden_file.h"
#include "support/test_files.h"

namespace qp::testing {

// Compares a report with its golden file under tests/tools/golden/. With
// QUORVEX_UPDATE_GOLDEN=1 in the environment the golden file is rewritten
// instead (review the difference before committing it).
inline void ExpectGoldenReport(const std::string& actual, const std::string& goldenName) {
  ExpectSameAsGolden(actual, SourcePath("tests/tools/golden/" + goldenName));
}

inline bool Cs2csAvailable() { return std::system("command -v cs2cs >/dev/null 2>&1") == 0; }

// Proj string of a transverse Mercator projection with the 500 km false
// easting on an ellipsoid given by its semi-axes.
inline std::string TransverseMercator(double lon0Degrees, double a, double b) {
  char text[200];
  std::snprintf(text, sizeof text, "+proj=tmerc +lon_0=%.12f +k=1 +x_0=500000 +y_0=0 +a=%.8f +b=%.8f +no_defs",
                lon0Degrees, a, b);
  return text;
}

inline std::string Geographic(double a, double b) {
  char text[120];
  std::snprintf(text, sizeof text, "+proj=longlat +a=%.8f +b=%.8f +no_defs", a, b);
  return text;
}

// Runs cs2cs from `from` to `to` on (first, second) pairs; for geographic
// input the pairs are (longitude, latitude) in degrees, for projected output
// (easting, northing). nullopt when cs2cs cannot be run.
inline std::optional<std::vector<std::pair<double, double>>> Cs2cs(const std::string& from, const std::string& to,
                                                                   const std::vector<std::pair<double, double>>& in,
                                                                   const std::string& scratchDir) {
  const std::string inputPath = scratchDir + "/cs2cs-input.txt";
  {
    std::ofstream out(inputPath);
    out.precision(17);
    for (const auto& [u, v] : in) out << u << ' ' << v << '\n';
  }
  const std::string command = "cs2cs -f %.10f " + from + " +to " + to + " < " + inputPath + " 2>/dev/null";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::vector<std::pair<double, double>> result;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    double u = 0.0;
    double v = 0.0;
    if (std::sscanf(line, "%lf %lf", &u, &v) == 2) result.emplace_back(u, v);
  }
  if (pclose(pipe) != 0 || result.size() != in.size()) return std::nullopt;
  return result;
}

// D.MS to degrees, exactly enough for test data.
inline double DmsToDegrees(double dms) {
  const double d = std::floor(dms + 1e-12);
  const double m = std::floor((dms - d) * 100.0 + 1e-9);
  const double s = ((dms - d) * 100.0 - m) * 100.0;
  return d + m / 60.0 + s / 3600.0;
}

}  // namespace qp::testing
