// The settings and kinds of a height network, shared by the data file record,
// the network model and the input form: the values are the ones the record stores.
#pragma once

#include <cstdint>

namespace qp {

// Control points of the curve that draws one height difference.
inline constexpr int kCurvePointCount = 5;

// The network mode: what a confirmed network is computed for.
enum HeightMode : int32_t {
  kHeightEstimate = 0,  // "精度估算", precision estimate of a design
  kHeightAdjust = 1,    // "平差计算", adjustment
};

// The network kind: selects the weighting.
enum HeightKind : int32_t {
  kLevellingNetwork = 0,      // "水准网": p = 1 / s
  kTrigonometricNetwork = 1,  // "三角高程网": p = 1 / s^2
};

// Kinds of closure-table entries.
enum LoopKind : int32_t {
  kLoopNone = 0,
  kLoopKnownLine = 1,      // a levelling line between two known points
  kLoopTwoLines = 2,       // two lines between the same two points
  kLoopTriangle = 3,       // three lines
  kLoopQuadrilateral = 4,  // four lines
};

// The five table text boxes, in the order of the side file.
enum HeightTextBox : int {
  kHeightKnownBox = 0,    // "已知高程点": name,height
  kHeightApproxBox,       // "概略高程点": name,height
  kHeightPairsBox,        // "精度端点": name,name
  kHeightCoordinatesBox,  // "平面坐标点": name,X,Y
  kHeightDifferencesBox,  // "高差观测值": from,to,height difference,weight element
  kHeightTextBoxCount
};

}  // namespace qp
