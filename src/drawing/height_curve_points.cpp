#include "drawing/height_curve_points.h"

#include "drawing/view_transform.h"

namespace qp {

void SampleOpenSplinePixels(std::span<const CanvasPoint> control, std::vector<CanvasPoint>& out) {
  out.clear();
  const size_t n = control.size();
  if (n < 2) return;

  // De Boor points D[1..n] with D[0] and D[n+1] added at the ends: the two
  // ends are the end control points, every interior one satisfies
  // D[i-1] + 4 D[i] + D[i+1] = 6 P[i]. The system is tridiagonal and
  // diagonally dominant, solved by elimination from the first row down.
  std::vector<double> dx(n + 2), dy(n + 2), c(n + 2);
  dx[1] = control[0].row;
  dy[1] = control[0].column;
  c[1] = 0.0;  // superdiagonal of row 1 after elimination (row 1 is D1 = P1)
  for (size_t i = 2; i < n; ++i) {
    const double pivot = 4.0 - c[i - 1];
    c[i] = 1.0 / pivot;
    dx[i] = (6.0 * control[i - 1].row - dx[i - 1]) / pivot;
    dy[i] = (6.0 * control[i - 1].column - dy[i - 1]) / pivot;
  }
  dx[n] = control[n - 1].row;
  dy[n] = control[n - 1].column;
  for (size_t i = n - 1; i >= 2; --i) {
    dx[i] -= c[i] * dx[i + 1];
    dy[i] -= c[i] * dy[i + 1];
  }
  dx[0] = 2.0 * dx[1] - dx[2];
  dy[0] = 2.0 * dy[1] - dy[2];
  dx[n + 1] = 2.0 * dx[n] - dx[n - 1];
  dy[n + 1] = 2.0 * dy[n] - dy[n - 1];

  out.reserve((n - 1) * 21);
  for (size_t i = 1; i < n; ++i) {
    for (int k = 0; k <= 300; k += 15) {
      const double t = k / 300.0;
      const double u = 1.0 - t;
      const double b0 = u * u * u;
      const double b1 = 3 * t * t * t - 6 * t * t + 4;
      const double b2 = -3 * t * t * t + 3 * t * t + 3 * t + 1;
      const double b3 = t * t * t;
      const double row = (b0 * dx[i - 1] + b1 * dx[i] + b2 * dx[i + 1] + b3 * dx[i + 2]) / 6.0;
      const double column = (b0 * dy[i - 1] + b1 * dy[i] + b2 * dy[i + 1] + b3 * dy[i + 2]) / 6.0;
      out.push_back(CanvasPoint{TruncateToInt(row + 0.5), TruncateToInt(column + 0.5)});
    }
  }
}

}  // namespace qp
