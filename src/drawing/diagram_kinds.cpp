#include "drawing/diagram_kinds.h"

#include <array>

#include "common/gbk_text.h"

namespace qp {
namespace {

constexpr std::array<DiagramKindEntry, kPlaneDiagramKinds + kHeightDiagramKinds> kKinds = {{
    {DiagramNetwork::Plane, 0, "1控制网图", "控制网图", false, "%s控制网图", TitleValue::None},
    {DiagramNetwork::Plane, 1, "2点位误差椭圆", "点位误差椭圆", false, "%s点位误差椭圆(1:%-.2f)",
     TitleValue::EllipseScale},
    {DiagramNetwork::Plane, 2, "2相对误差椭圆", "相对误差椭圆", false, "%s相对误差椭圆(1:%-.2f)",
     TitleValue::EllipseScale},
    {DiagramNetwork::Plane, 3, "3绝对相对误差椭圆", "绝对相对误差椭圆", false, "%s绝对相对误差椭圆(1:%-.2f)",
     TitleValue::EllipseScale},
    {DiagramNetwork::Plane, 4, "4部分相对误差椭圆", "部分相对误差椭圆", false, "%s部分相对误差椭圆(1:%-.2f)",
     TitleValue::EllipseScale},
    {DiagramNetwork::Plane, 5, "5角度边长观测值", "角度边长观测值", false, "%s角度边长观测值", TitleValue::None},
    {DiagramNetwork::Plane, 6, "6边长方位角误差", "边长方位角误差", false, "%s边长方位角误差[Mo=%-.2f]",
     TitleValue::Sigma0},
    {DiagramNetwork::Plane, 7, "7边长方位角", "边长方位角", true, "%s边长方位角", TitleValue::None},
    {DiagramNetwork::Height, 0, "0高程控制网网图", "高程控制网网图", false, nullptr, TitleValue::None},
    {DiagramNetwork::Height, 1, "1高差观测值", "高差观测值", false, nullptr, TitleValue::None},
    {DiagramNetwork::Height, 2, "2高差平差值误差", "高差平差值误差", false, nullptr, TitleValue::None},
    {DiagramNetwork::Height, 3, "3高差平差值", "高差平差值", false, nullptr, TitleValue::None},
}};

std::vector<std::string> Texts(DiagramNetwork network, bool selector, bool adjusted) {
  std::vector<std::string> out;
  for (const DiagramKindEntry& e : kKinds) {
    if (e.network != network || (selector && e.adjustedOnly && !adjusted)) continue;
    out.push_back(Gbk(selector ? e.selectorText : e.comboText));
  }
  return out;
}

}  // namespace

std::span<const DiagramKindEntry> DiagramKinds() { return kKinds; }

const DiagramKindEntry* FindDiagramKind(DiagramNetwork network, int kind) {
  for (const DiagramKindEntry& e : kKinds)
    if (e.network == network && e.kind == kind) return &e;
  return nullptr;
}

std::vector<std::string> PlaneComboTexts() { return Texts(DiagramNetwork::Plane, false, true); }
std::vector<std::string> HeightComboTexts() { return Texts(DiagramNetwork::Height, false, true); }

std::vector<std::string> PlaneSelectorTexts(const PlaneModel& model) {
  return Texts(DiagramNetwork::Plane, true, model.Adjusted());
}

}  // namespace qp
