// The height network as the computations, reports and statistics see it:
// one point table by index, the typed observation lists with the indices of
// their points, and the results attached to their entries. It is built once
// from the data file record (height_model_record.h) and put back into it;
// nothing here depends on the record's layout.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "height/height_kinds.h"

namespace qp {

enum class HeightPointRole : uint8_t {
  Known,        // a fixed height
  Approximate,  // an unknown point with a given approximate height
  Unknown,      // an unknown point whose approximate height was carried to it
};

struct HeightPoint {
  std::string name;  // GBK, as the record holds it
  HeightPointRole role = HeightPointRole::Unknown;
  double height = 0.0;  // m
  float error = 0.0f;   // m_H (mm), 0 for known points
  double x = 0.0, y = 0.0;  // diagram position (m)
  float labelDx = 0.0f, labelDy = 0.0f;  // name label offset (paper mm)
};

// One observed height difference H_to - H_from.
struct HeightDifference {
  std::string fromName, toName;  // GBK, as typed
  int from = -1, to = -1;        // point indices; -1 where the name is no point
  double observed = 0.0;         // m
  double weightElement = 0.0;    // s of the weight 1/s or 1/s^2
  float error = 0.0f;            // mm, of the adjusted difference
  double curve[kCurvePointCount][2] = {};  // (X, Y) control points of its diagram line (m)

  bool Joined() const { return from >= 0 && to >= 0; }
};

// Two points whose height difference is evaluated for its precision.
struct HeightPair {
  std::string fromName, toName;
  int from = -1, to = -1;
  double difference = 0.0;  // m, adjusted H_to - H_from
  float error = 0.0f;       // mm
};

// A plane coordinate given for a point of the diagram.
struct HeightCoordinate {
  std::string name;
  double x = 0.0, y = 0.0;  // m
};

// One entry of the closure table.
struct HeightLoop {
  LoopKind kind = kLoopNone;
  std::string names[4];         // the loop's points in order; unused ones empty
  int32_t sections[4] = {};     // sections of each line, 0 where none
  float closure = 0.0f;         // mm
  bool drawn = false;           // the closure is written on the diagram
  double labelX = 0.0, labelY = 0.0;  // position of the closure text (m)
};

// How the diagram is drawn: its kind as stored (the selector's entry), the
// fonts (mm) and colour of its texts.
struct HeightDiagramStyle {
  int kind = 0;
  // The kind drawn: a stored kind beyond the four is damage, drawn as the nearest.
  int DrawnKind() const { return std::clamp(kind, 0, 3); }
  std::string numberFace, textFace;
  float numberHeight = 0.0f, numberWidth = 0.0f;
  float textHeight = 0.0f, textWidth = 0.0f;
  uint32_t textColour = 0;
};

// A name label offset as drawn and stored: one further from its point than
// 1000 paper mm is damage and kept at that distance, one not finite is none.
inline float DrawnLabelOffset(float v) {
  constexpr float kMaxLabelOffsetMm = 1000.0f;
  return std::isfinite(v) ? std::clamp(v, -kMaxLabelOffsetMm, kMaxLabelOffsetMm) : 0.0f;
}

struct HeightModel {
  HeightMode mode = kHeightEstimate;
  HeightKind kind = kLevellingNetwork;
  std::string name;           // GBK
  double priorError = 1.0;    // mm
  double sigma0 = 1.0;        // mm, of the last computation
  double largestCorrection = 0.0;  // mm

  // Known points first, then the approximate ones, then the rest.
  std::vector<HeightPoint> points;
  std::vector<HeightDifference> differences;
  std::vector<HeightPair> pairs;
  std::vector<HeightCoordinate> coordinates;
  std::vector<HeightLoop> loops;
  // The entries the point list and the closure table may take.
  int pointCapacity = 0;
  int loopCapacity = 0;
  HeightDiagramStyle diagram;
  // The point count the diagram was last laid out for, -1 when never.
  int lastComputedPointCount = -1;

  // Builds the name lookup, counts the roles and resolves the point indices
  // of the differences and pairs; after the point table changed.
  void Index();

  // A computation's results are held: a height error of an unknown point.
  bool HoldsResults() const;

  int PointCount() const { return static_cast<int>(points.size()); }
  int KnownCount() const { return known_; }
  int ApproxCount() const { return approx_; }
  // The unknown points, the approximate ones included.
  int UnknownPointCount() const { return PointCount() - known_; }
  int Redundancy() const { return static_cast<int>(differences.size()) - UnknownPointCount(); }
  // The first point of that name (compared bytewise), -1 when none.
  int Find(std::string_view pointName) const;
  // Appends an unknown point of that name to the table and the lookup; the
  // caller has found no point of that name.
  void AddUnknownPoint(std::string_view pointName);
  // The unknown of point p (known points none: -1).
  int UnknownOf(int p) const { return p >= known_ ? p - known_ : -1; }

 private:
  std::unordered_map<std::string, int> index_;
  int known_ = 0;
  int approx_ = 0;
};

}  // namespace qp
