// The largest networks the data files hold, as input texts: the plane grid
// and the levelling grid the adjustment benchmarks compute, shared with the
// tests that hold the full-capacity networks to their results.
//
// Plane: a 32 x 32 grid of points about 1 km apart (8 known points on the
// border, every other point with approximate coordinates some cm off), 512
// stations with 4 directions each (2048), a distance to the east and to the
// north neighbour of each point (1984), 64 precision pairs; the observations
// carry small errors, so that the adjustment needs two iterations.
//
// Levelling: 28 x 20 junction points 2 km apart joined to their east and
// north neighbours by levelling lines of two or three sections (1072 lines,
// 2560 sections, 1488 points between the junctions: 2048 points), six known
// points, 64 precision pairs. The sections are typed in a scrambled order,
// some against their direction, and carry small errors.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/format.h"
#include "geodesy/angles.h"
#include "height/height_input_form.h"
#include "plane/plane_input_form.h"

namespace qp::bench {

constexpr int kGridSide = 32;

struct GridNetwork {
  double x[kGridSide][kGridSide];
  double y[kGridSide][kGridSide];
  std::string boxes[kPlaneTextBoxCount];

  static std::string Name(int r, int c) { return Format("G%02d%02d", r, c); }
  static bool Known(int r, int c) {
    const bool edgeR = r == 0 || r == kGridSide - 1, edgeC = c == 0 || c == kGridSide - 1;
    return (edgeR && edgeC) || (edgeR && c == kGridSide / 2) || (edgeC && r == kGridSide / 2);
  }

  GridNetwork() {
    int e = 0;
    for (int r = 0; r < kGridSide; ++r) {
      for (int c = 0; c < kGridSide; ++c) {
        x[r][c] = 3800000.0 + 1000.0 * r + 150.0 * Wobble(++e, 1.0);
        y[r][c] = 500000.0 + 1000.0 * c + 150.0 * Wobble(++e, 1.0);
        // Approximate coordinates are a few centimetres off the true ones.
        const double dx = Known(r, c) ? 0.0 : Wobble(++e, 0.05);
        const double dy = Known(r, c) ? 0.0 : Wobble(++e, 0.05);
        const std::string line = Name(r, c) + Format(",%.4f,%.4f\r\n", x[r][c] + dx, y[r][c] + dy);
        boxes[Known(r, c) ? kKnownPointsBox : kApproxPointsBox] += line;
      }
    }
    const int steps[8][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int r = 0; r < kGridSide; ++r) {
      for (int c = 0; c < kGridSide; ++c) {
        if ((r + c) % 2 != 0) continue;
        int taken = 0;
        double zero = 0.0;
        for (const auto& s : steps) {
          const int tr = r + s[0], tc = c + s[1];
          if (tr < 0 || tc < 0 || tr >= kGridSide || tc >= kGridSide || taken == 4) continue;
          const double azimuth = AzimuthOf(x[r][c], y[r][c], x[tr][tc], y[tr][tc]);
          if (taken == 0) zero = azimuth;
          double direction = std::fmod(azimuth - zero + 4.0 * kPi, 2.0 * kPi);
          if (taken > 0) direction += Wobble(++e, 1.5) / kRhoSeconds;
          boxes[kDirectionsBox] +=
              Name(r, c) + "," + Name(tr, tc) + Format(",%.6f\r\n", taken == 0 ? 0.0 : RadiansToDms(direction));
          ++taken;
        }
        if (r + 2 < kGridSide && c + 2 < kGridSide && (r * kGridSide + c) % 16 == 0 &&
            std::count(boxes[kPrecisionPairsBox].begin(), boxes[kPrecisionPairsBox].end(), '\n') < 64 &&
            !Known(r, c) && !Known(r + 2, c + 2)) {
          boxes[kPrecisionPairsBox] += Name(r, c) + "," + Name(r + 2, c + 2) + "\r\n";
        }
      }
    }
    for (int r = 0; r < kGridSide; ++r) {
      for (int c = 0; c < kGridSide; ++c) {
        for (const auto& s : {std::pair{0, 1}, std::pair{1, 0}}) {
          const int tr = r + s.first, tc = c + s.second;
          if (tr >= kGridSide || tc >= kGridSide) continue;
          const double length = DistanceOf(x[r][c], y[r][c], x[tr][tc], y[tr][tc]) + Wobble(++e, 0.004);
          boxes[kDistanceLinesBox] += Name(r, c) + "," + Name(tr, tc) + Format(",%.4f\r\n", length);
        }
      }
    }
  }

  // The input dialog filled with the grid, as a user would type it.
  void Fill(PlaneInputForm& form) const {
    form.networkName = "GRID";
    for (int b = 0; b < kPlaneTextBoxCount; ++b) form.boxes[b] = boxes[b];
  }
};

constexpr int kRows = 28;
constexpr int kCols = 20;

inline double TrueHeight(double r, double c) { return 300.0 + 12.0 * std::sin(0.21 * r) + 9.0 * std::cos(0.17 * c) + 0.8 * r; }

struct LevellingGrid {
  std::string known, differences, pairs;

  static std::string Junction(int r, int c) { return Format("J%02d%02d", r, c); }
  static bool Known(int r, int c) {
    return (r == 0 || r == kRows - 1) && (c == 0 || c == kCols - 1 || c == kCols / 2);
  }

  LevellingGrid() {
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        if (Known(r, c)) known += Junction(r, c) + Format(",%.4f\r\n", TrueHeight(r, c));
      }
    }
    std::vector<std::string> lines;
    int line = 0, e = 0, inner = 0;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        for (auto [dr, dc] : {std::pair{0, 1}, std::pair{1, 0}}) {
          if (r + dr >= kRows || c + dc >= kCols) continue;
          // 416 of the 1072 lines have three sections, the others two.
          const int sections = (line++ * 416) % 1072 < 416 ? 3 : 2;
          std::string previous = Junction(r, c);
          double previousHeight = TrueHeight(r, c);
          for (int s = 1; s <= sections; ++s) {
            const double t = static_cast<double>(s) / sections;
            const bool last = s == sections;
            const std::string next = last ? Junction(r + dr, c + dc) : Format("Z%04d", inner++);
            const double nextHeight = TrueHeight(r + dr * t, c + dc * t);
            const double km = 2.0 / sections;
            const double h = nextHeight - previousHeight + Wobble(++e, 0.0015);
            // Every fifth section is typed from its far end.
            lines.push_back(e % 5 == 0 ? next + "," + previous + Format(",%.5f,%.3f\r\n", -h, km)
                                       : previous + "," + next + Format(",%.5f,%.3f\r\n", h, km));
            previous = next;
            previousHeight = nextHeight;
          }
        }
      }
    }
    // A scrambled order: every seventh section moved to the end.
    std::stable_partition(lines.begin(), lines.end(), [n = 0](const std::string&) mutable { return n++ % 7 != 3; });
    for (const auto& l : lines) differences += l;
    for (int k = 0; k < 64; ++k) {
      pairs += Junction(1 + k % 25, 1 + k / 25 * 5) + "," + Junction(2 + k % 25, 3 + k / 25 * 5) + "\r\n";
    }
  }

  // The input dialog filled with the grid: a levelling network to adjust.
  void Fill(HeightInputForm& form) const {
    form.mode = kHeightAdjust;
    form.kind = kLevellingNetwork;
    form.networkName = "GRID";
    form.priorError = "1.0";
    form.boxes[kHeightKnownBox] = known;
    form.boxes[kHeightDifferencesBox] = differences;
    form.boxes[kHeightPairsBox] = pairs;
  }
};

}  // namespace qp::bench
