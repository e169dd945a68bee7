// The independent least-squares reference the height tests compare with: the
// normal equations of a confirmed network's height differences formed densely
// (unknowns: corrections in mm to the unknown points' heights), bordered by
// the condition that the corrections sum to zero when no point is known, and
// solved by Gauss-Jordan elimination.
#pragma once

#include <vector>

#include "height/height_model.h"
#include "support/dense_matrix.h"

namespace qp::testing {

struct DenseHeightSolution {
  int known = 0;
  int u = 0;                 // unknown points
  std::vector<double> p;     // weight of every height difference
  Matrix inverse;            // of the (bordered) normal matrix
  std::vector<double> x;     // corrections (mm) of the unknown points
  std::vector<double> heights;  // every point, m, corrected
  Matrix q;                  // cofactors of the unknown points

  // The correction (mm) of point `point`, 0 for a known one.
  double Correction(int point) const { return point >= known ? x[point - known] : 0.0; }
};

inline DenseHeightSolution SolveDenseHeights(const HeightModel& m) {
  DenseHeightSolution s;
  s.known = m.KnownCount();
  s.u = m.UnknownPointCount();
  const bool free = s.known == 0;
  const int size = free ? s.u + 1 : s.u;
  Matrix n(size, std::vector<double>(size, 0.0));
  std::vector<double> b(size, 0.0);
  for (const HeightDifference& d : m.differences) {
    const double el = d.weightElement + 0.00001;
    const double p = m.kind == kTrigonometricNetwork ? 1.0 / (el * el) : 1.0 / el;
    s.p.push_back(p);
    // x in mm: h_obs*1000 = (H_f - H_e)*1000 -> a x = l
    const int e = d.from - s.known, f = d.to - s.known;
    const double l = (d.observed - (m.points[d.to].height - m.points[d.from].height)) * 1000.0;
    if (e >= 0) n[e][e] += p, b[e] -= p * l;
    if (f >= 0) n[f][f] += p, b[f] += p * l;
    if (e >= 0 && f >= 0) n[e][f] -= p, n[f][e] -= p;
  }
  if (free) {
    for (int j = 0; j < s.u; ++j) n[j][s.u] = n[s.u][j] = 1.0;
  }
  s.inverse = Inverse(n);
  s.x.assign(s.u, 0.0);
  s.q.assign(s.u, std::vector<double>(s.u));
  for (int j = 0; j < s.u; ++j) {
    for (int k = 0; k < size; ++k) s.x[j] += s.inverse[j][k] * b[k];
    for (int k = 0; k < s.u; ++k) s.q[j][k] = s.inverse[j][k];
  }
  for (int p = 0; p < m.PointCount(); ++p) s.heights.push_back(m.points[p].height + 0.001 * s.Correction(p));
  return s;
}

}  // namespace qp::testing
