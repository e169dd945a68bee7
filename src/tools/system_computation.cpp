#include "tools/system_computation.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "common/finite_values.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"

namespace qp {
namespace {

constexpr int kNoPartner = 32768;
constexpr int kMaxParameters = 8;
// A pivot this small against its diagonal element before the elimination
// means the normal equations are singular in double precision.
constexpr double kSingularPivotRatio = 1e-12;

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

// The estimated transformation: parameters 1..f of the model
//   (X' - xn) + i(Y' - yn) = (p1 + i p2) + (p3 + i p4) z + (p5 + i p6) z^2 + (p7 + i p8) z^3,
// z = (X - xo) + i(Y - yo), truncated to degree f/2 - 1.
struct ConformalTransform {
  int parameterCount = 0;
  double p[9] = {};  // p[1..f]
  double oldCentroidX = 0.0;
  double oldCentroidY = 0.0;
  double newCentroidX = 0.0;
  double newCentroidY = 0.0;

  void Apply(double x, double y, double& newX, double& newY) const {
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
};

// Estimates the transformation from the common points in slots 1..m of both
// lists. False when the normal equations are singular (common points that
// coincide leave too few distinct positions for the parameters).
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

// Pairs and reorders the lists, and counts the common points.
std::string MatchCommonPoints(SystemTransformFile& image) {
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
      if (++matches > 1 || oldKey[l] != kNoPartner) return Gbk("新旧坐标重合点不唯一 !");
      newKey[k] = k;
      oldKey[l] = k;
      ++m;
    }
  }
  image.commonCount = m;
  SortByKey(image.newNames, image.newX, image.newY, newKey, image.newCount);
  SortByKey(image.oldNames, image.oldX, image.oldY, oldKey, image.oldCount);
  if (m <= 1) return Gbk("重合点数不足 !");
  if (m != image.newCount) return Gbk("新坐标点必须是重合点 !");
  return {};
}

// Estimates the transformation and carries the old points into the new system.
std::string Estimate(SystemTransformFile& image) {
  const int m = image.commonCount;
  ConformalTransform t;
  bool ok = EstimateConformalTransform(image, m, t);
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
  if (!ok) return Gbk("重合点点位重合或过于接近, 无法解算转换参数 !");
  const int f = t.parameterCount;
  image.parameterCount = f;
  for (int k = 1; k <= f; ++k) image.parameters[k] = t.p[k];
  if (2 * m > f) image.sigma = std::sqrt(sum / (2 * m - f));
  return {};
}

}  // namespace

std::string FitSystemTransform(SystemTransformFile& image) {
  std::string failure = MatchCommonPoints(image);
  return failure.empty() ? Estimate(image) : failure;
}

}  // namespace qp
