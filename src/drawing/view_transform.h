// The drawing's coordinate conversions: ground metres <-> device (canvas)
// pixels through the map scale and resolution, and canvas <-> screen through
// the integer zoom ratio, with the flip of the upward-counted canvas rows.
// Every conversion here truncates exactly as the printed sheet expects; no
// other code knows the axis orientation.
#pragma once

#include <cstdint>

namespace qp {

struct ViewTransform {
  int pageHeight = 0;        // H, device units
  int zoomNum = 1024;        // Zn
  int zoomDen = 1024;        // Zd
  float resolution = 200.f;  // R, device units per inch
  double scale = 1000.0;     // M, map scale denominator
  double deviceOriginU = 0;  // du, first (horizontal) device axis
  double deviceOriginV = 0;  // dv
  double mapOriginX = 0;     // mx, belongs to the first device axis
  double mapOriginY = 0;     // my

  static int Identity(int v) { return v; }
  int Flip(int v) const { return pageHeight - v - 1; }
  int ZoomAndFlip(int v) const;
  int ZoomIn(int v) const;   // v * Zn / Zd
  int ZoomOut(int v) const;  // v * Zd / Zn
  int UnflipAndZoomOut(int v) const;
  double DeviceToMillimetres(int v) const { return v / resolution * 25.4; }
  int MillimetresToDevice(float mm) const;
  double DeviceToMapU(int u) const;
  double DeviceToMapV(int v) const;
  int MapToDeviceU(double x) const;
  int MapToDeviceV(double y) const;
  // n pairs (first, second) to n integer pairs.
  void PolylineMapToDevice(const double* xy, int n, int32_t* out) const;
};

// A double converted toward zero and kept within the int range (NaN gives 0),
// so that no damaged coordinate can overflow a pixel position.
int TruncateToInt(double v);

}  // namespace qp
