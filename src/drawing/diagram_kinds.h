// The diagram kinds of the plane and the height network in one table: the
// texts of the display-settings combo (with their leading digit), the texts of
// the dialog bar's selector (without it) and the plane titles. Both selectors
// and the title are filled from here, so they cannot disagree.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "plane/plane_model.h"

namespace qp {

enum class DiagramNetwork { Plane, Height };

// What the plane title carries after its prefix.
enum class TitleValue { None, EllipseScale, Sigma0 };

struct DiagramKindEntry {
  DiagramNetwork network;
  int kind;                 // the stored diagram kind
  const char* comboText;    // UTF-8, display-settings combo ("2点位误差椭圆")
  const char* selectorText; // UTF-8, dialog-bar selector ("点位误差椭圆")
  bool adjustedOnly;        // offered only while the network is adjusted
  const char* titleFormat;  // UTF-8 printf format of the plane title, prefix first; null for height
  TitleValue titleValue;
};

// Every kind, plane kinds 0..7 first, then height kinds 0..3.
std::span<const DiagramKindEntry> DiagramKinds();

inline constexpr int kPlaneDiagramKinds = 8;
inline constexpr int kHeightDiagramKinds = 4;

// The ellipse kinds draw the network's largest semi-axis with a radius the
// display settings keep within these bounds (mm on paper).
inline constexpr double kMinEllipseRadius = 3.0, kMaxEllipseRadius = 30.0;

// The entry of a kind, or null outside the table.
const DiagramKindEntry* FindDiagramKind(DiagramNetwork network, int kind);

// The display-settings combo texts (GBK), in kind order.
std::vector<std::string> PlaneComboTexts();
std::vector<std::string> HeightComboTexts();

// The dialog-bar selector texts (GBK) for the plane network, in kind order;
// entry i selects kind i. The list ends before "边长方位角" while the network
// is only estimated.
std::vector<std::string> PlaneSelectorTexts(const PlaneModel& model);

}  // namespace qp
