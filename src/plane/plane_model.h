// The plane network as the computations work with it: one point table by
// index, typed observation lists whose entries name their points by index,
// and the results attached to points, sides and precision pairs. Built once
// from the stored record (plane_model_record.h), which it does not know of.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "plane/plane_kinds.h"

namespace qp {

// Known points come first in the table, then those entered with approximate
// coordinates, then the points the confirmation computed.
enum class PlanePointRole : uint8_t { Known, Approximate, Unknown };

// Error ellipse semi-axes (cm) and major-axis azimuth (D.MS), kept as the
// record stores them.
struct PlaneEllipse {
  float e = 0.0f;
  float f = 0.0f;
  float q = 0.0f;
};

struct PlanePoint {
  std::string name;  // GBK, as entered
  PlanePointRole role = PlanePointRole::Unknown;
  double x = 0.0;  // north (m)
  double y = 0.0;  // east (m)
  double h = 0.0;
  PlaneEllipse ellipse;  // the point's error ellipse after a computation
  float labelDx = 0.0f, labelDy = 0.0f;  // name label offset (paper mm)
};

// The two points an observation joins: indices into the point table, -1 for
// a name the table does not hold (the name is kept for the messages).
struct PlaneEnds {
  int from = -1;
  int to = -1;
  std::string fromName;
  std::string toName;
  bool Resolved() const { return from >= 0 && to >= 0; }
};

// An azimuth (D.MS) or a side length (m) with its weight relative to a
// direction (1 for the fixed ones, which enter as constraints).
struct PlaneMeasure {
  PlaneEnds ends;
  double value = 0.0;
  double weight = 1.0;
};

// A reduced distance: the length the computation uses, the height difference
// from its first point to its second, and its standard error (cm) and weight
// from the distance error model a + b S.
struct PlaneDistance {
  PlaneEnds ends;
  double length = 0.0;
  double heightDiff = 0.0;
  double standardError = 0.0;
  double weight = 0.0;
};

// One direction of a station's set (D.MS, the set's first target at zero).
// `station` is the point the entry itself names: the set's station in every
// network the confirmation builds.
struct PlaneDirection {
  int station = -1;
  int target = -1;
  std::string targetName;
  double dms = 0.0;
};

// The directions observed at one station: entries [begin, end) of
// PlaneModel::directions.
struct PlaneDirectionSet {
  int station = 0;
  int begin = 0;
  int end = 0;
  int size() const { return end - begin; }
};

// Relative precision of two points after a computation, as the record stores
// it: side length error ms (cm), azimuth error mt (s) and the relative ellipse.
struct PlaneRelativePrecision {
  float ms = 0.0f;
  float mt = 0.0f;
  PlaneEllipse ellipse;
};

// A side of the network or a precision end-point pair with its precision;
// a side's symbol tells what it stands for (SideKind, 0 for a pair).
struct PlaneSide {
  PlaneEnds ends;
  PlaneRelativePrecision precision;
  uint8_t symbol = 0;
};

// A traverse between known points the closure check found: its start
// orientation point O, start P, end E and end orientation K (-1 for a name
// not in the table), its closure as the record stores it, and the place of
// its text on the diagram.
struct PlaneTraverse {
  int startOrientation = -1;
  int start = -1;
  int end = -1;
  int endOrientation = -1;
  float azimuthMisclosure = 0.0f;  // fβ (s)
  float fx = 0.0f;                 // cm
  float fy = 0.0f;
  int legs = 0;
  double length = 0.0;    // m
  double relative = 0.0;  // length / linear misclosure
  double labelX = 0.0;
  double labelY = 0.0;
  bool drawn = false;  // its closure is written on the diagram
  int32_t kind = 3;    // the entry's kind code: 3 for a traverse, anything else is damage

  bool IsTraverse() const { return kind == 3; }
};

// The closure check keeps at most this many traverses.
inline constexpr int kMaxTraverses = 1024;

// A height given for a point (m): the start of the approximate heights.
struct PlaneKnownHeight {
  int point = -1;  // -1 for a name the point table does not hold
  double height = 0.0;
  std::string name;  // as entered
};

// A distance line as entered: the horizontal distance (m), or in the slope
// modes the slope distance with the instrument and target heights (m, single
// precision as stored) and the vertical angle or zenith distance (D.MS).
struct PlaneDistanceLine {
  PlaneEnds ends;
  double distance = 0.0;
  float instrumentHeight = 0.0f;
  float targetHeight = 0.0f;
  double verticalAngle = 0.0;
};

// How the diagram is drawn: its kind (the selector's entry, as stored), the
// fonts (mm) and colour of its texts, the error-ellipse scale and the
// warning of near point pairs, all as the record keeps them.
struct PlaneDiagramStyle {
  int kind = 0;
  std::string numberFace, textFace;
  float numberHeight = 0.0f, numberWidth = 0.0f;
  float textHeight = 0.0f, textWidth = 0.0f;
  int32_t textColour = 0;         // 0x00BBGGRR
  double maxEllipseRadius = 0.0;  // mm on paper
  double maxSemiAxis = 0.0;       // mm, the largest semi-axis of the network
  double ellipseScale = 1.0;
  double warningDistance = 0.0;   // m
  bool breakthroughWarning = false;
};

struct PlaneModel {
  // Settings of the computation.
  std::string networkName;  // GBK
  int calcMode = 0;
  int closureMode = 0;  // 2: the traverses are searched for gross errors
  double directionError = 0.0;       // mu (s)
  double distanceFixedError = 0.0;   // a (mm)
  double distanceScaleError = 0.0;   // b (ppm)
  double projectionHeight = 0.0;     // H0 (m)
  double yOffset = 0.0;              // false easting (m)
  double refraction = 0.0;           // k of the slope reduction
  int verticalAngleKind = 0;         // 0 vertical angles, 1 zenith distances
  int distanceLimit = 0;             // the reduced distances the network may hold
  int redundancy = 0;
  double sigma0 = 0.0;               // result: unit-weight error (s)

  std::vector<PlanePoint> points;
  int knownCount = 0;  // points[0 .. knownCount) are known

  // Directions by station set, in station order; directionCount is the
  // number of directions the network holds.
  std::vector<PlaneDirectionSet> directionSets;
  std::vector<PlaneDirection> directions;
  int directionCount = 0;
  // The direction table as entered (station, target, value) and the
  // distance lines as entered, which the reduced distances were formed from.
  std::vector<PlaneMeasure> enteredDirections;
  std::vector<PlaneDistanceLine> distanceLines;
  std::vector<PlaneDistance> distances;
  std::vector<PlaneMeasure> fixedAzimuths;
  std::vector<PlaneMeasure> weightedAzimuths;
  std::vector<PlaneMeasure> fixedSides;
  std::vector<PlaneMeasure> weightedSides;
  std::vector<PlaneKnownHeight> knownHeights;

  // The sides the precision and the diagrams are given for, and the
  // precision end-point pairs.
  std::vector<PlaneSide> sides;
  std::vector<PlaneSide> pairs;
  std::vector<PlaneTraverse> traverses;

  PlaneDiagramStyle diagram;
  // The point count the diagram was last laid out for, -1 when never.
  int lastComputedPointCount = -1;

  // Adjusted (not estimated): the computation had observations to adjust.
  bool Adjusted() const { return calcMode != 0; }
  // A computation's results are held: a unit-weight error or a point
  // ellipse. A network stored by a computation that failed holds neither.
  bool HoldsResults() const;

  int pointCount() const { return static_cast<int>(points.size()); }
  // First unknown (dX) of point p; -1 for a known point.
  int UnknownIndexOf(int p) const { return p < knownCount ? -1 : 2 * (p - knownCount); }
  int UnknownPointCount() const { return pointCount() - knownCount; }
  // Unknowns of the adjustment: dX, dY of every unknown point, and one
  // orientation-free unknown per fixed azimuth and per fixed side.
  int UnknownCount() const {
    return 2 * UnknownPointCount() + static_cast<int>(fixedAzimuths.size() + fixedSides.size());
  }
  // Points without a direction set of their own (none without directions).
  int NonStationCount() const;
  // Points with given coordinates, known or approximate: the first ones.
  int GivenCount() const;

  // Index of the first point named `name`; -1 when none is.
  int Find(std::string_view name) const;
  // Fills the name lookup from the point table (once the table is complete).
  void IndexNames();
  // The same, and points every observation, side, pair and known height
  // again at the table entries its names stand for: after the point table
  // grew or was reordered. Direction sets and traverses name their points by
  // index only and are left as they are.
  void ResolveNames();

 private:
  std::unordered_map<std::string, int> index_;
};

}  // namespace qp
