#include "drawing/label_marks.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/binary_file.h"
#include "common/format.h"

namespace qp {
namespace {

constexpr std::string_view kFirstLine = "# QuorvexPlus label marks 1";
// Far more than every movable item of a full network needs.
constexpr size_t kMaxMarksFileBytes = 4u << 20;

struct KindName {
  MovableKind kind;
  std::string_view name;
};
constexpr KindName kKindNames[] = {
    {MovableKind::PlaneName, "plane-name"},      {MovableKind::TraverseLabel, "traverse"},
    {MovableKind::HeightName, "height-name"},    {MovableKind::DifferenceText, "difference"},
    {MovableKind::LoopLabel, "loop"},            {MovableKind::HeightPoint, "height-point"},
};

std::string_view NameOf(MovableKind kind) {
  const KindName* k = std::ranges::find(kKindNames, kind, &KindName::kind);
  return k != std::ranges::end(kKindNames) ? k->name : "";
}

std::optional<MovableKind> KindNamed(std::string_view name) {
  const KindName* k = std::ranges::find(kKindNames, name, &KindName::name);
  return k != std::ranges::end(kKindNames) ? std::optional(k->kind) : std::nullopt;
}

// The next blank-separated word of `rest`, taken off it.
std::string_view NextWord(std::string_view& rest) {
  const size_t begin = rest.find_first_not_of(' ');
  if (begin == std::string_view::npos) return rest = {}, std::string_view{};
  rest.remove_prefix(begin);
  const size_t end = std::min(rest.find(' '), rest.size());
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

template <typename T>
bool ParseWord(std::string_view word, T& value) {
  const auto r = std::from_chars(word.data(), word.data() + word.size(), value);
  return r.ec == std::errc() && r.ptr == word.data() + word.size();
}

// "<kind> <index> <x> <y>", the values written to round-trip exactly.
std::optional<LabelMark> ParseMark(std::string_view rest) {
  const auto kind = KindNamed(NextWord(rest));
  LabelMark mark;
  if (!kind || !ParseWord(NextWord(rest), mark.index) || !ParseWord(NextWord(rest), mark.stored.x) ||
      !ParseWord(NextWord(rest), mark.stored.y) || !NextWord(rest).empty()) {
    return std::nullopt;
  }
  if (mark.index < 0 || !Finite(mark.stored)) return std::nullopt;
  mark.kind = *kind;
  return mark;
}

}  // namespace

std::string LabelMarksPath(const std::string& dataPath) { return dataPath + ".labels"; }

LabelMarks ReadLabelMarks(const std::string& dataPath) {
  LabelMarks marks;
  const auto text = ReadFileUpTo(LabelMarksPath(dataPath), kMaxMarksFileBytes);
  if (!text) return marks;
  std::string_view rest(*text);
  if (rest.substr(0, kFirstLine.size()) != kFirstLine) return marks;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == "declutter 1") {
      marks.declutter = true;
    } else if (line.substr(0, 5) == "hand ") {
      if (const auto mark = ParseMark(line.substr(5))) MarkPlacedByHand(marks, mark->kind, mark->index, mark->stored);
    }
  }
  return marks;
}

bool WriteLabelMarks(const std::string& dataPath, const LabelMarks& marks) {
  const std::string path = LabelMarksPath(dataPath);
  if (marks.Empty()) return RemoveFileIfExists(path);
  std::string text(kFirstLine);
  text += '\n';
  if (marks.declutter) text += "declutter 1\n";
  for (const LabelMark& m : marks.handPlaced) {
    text += Format("hand %s %d %.17g %.17g\n", std::string(NameOf(m.kind)).c_str(), m.index, m.stored.x, m.stored.y);
  }
  return WriteFileAtomically(path, text);
}

std::optional<GroundPoint> StoredLabelValue(const PlaneModel& model, MovableKind kind, int index) {
  if (index < 0) return std::nullopt;
  switch (kind) {
    case MovableKind::PlaneName:
      if (index >= model.pointCount()) return std::nullopt;
      return GroundPoint{model.points[index].labelDx, model.points[index].labelDy};
    case MovableKind::TraverseLabel:
      if (index >= static_cast<int>(model.traverses.size())) return std::nullopt;
      return GroundPoint{model.traverses[index].labelX, model.traverses[index].labelY};
    default:
      return std::nullopt;
  }
}

std::optional<GroundPoint> StoredLabelValue(const HeightModel& model, MovableKind kind, int index) {
  if (index < 0) return std::nullopt;
  const auto within = [index](const auto& list) { return index < static_cast<int>(list.size()); };
  switch (kind) {
    case MovableKind::HeightName:
      if (!within(model.points)) return std::nullopt;
      return GroundPoint{model.points[index].labelDx, model.points[index].labelDy};
    case MovableKind::HeightPoint:
      if (!within(model.points)) return std::nullopt;
      return GroundPoint{model.points[index].x, model.points[index].y};
    case MovableKind::DifferenceText: {
      if (!within(model.differences)) return std::nullopt;
      const auto& middle = model.differences[index].curve[kCurvePointCount / 2];
      return GroundPoint{middle[0], middle[1]};
    }
    case MovableKind::LoopLabel:
      if (!within(model.loops)) return std::nullopt;
      return GroundPoint{model.loops[index].labelX, model.loops[index].labelY};
    default:
      return std::nullopt;
  }
}

void MarkPlacedByHand(LabelMarks& marks, MovableKind kind, int index, GroundPoint stored) {
  if (index < 0 || !Finite(stored)) return;
  for (LabelMark& m : marks.handPlaced) {
    if (m.kind == kind && m.index == index) {
      m.stored = stored;
      return;
    }
  }
  marks.handPlaced.push_back({kind, index, stored});
}

bool IsPlacedByHand(const LabelMarks& marks, MovableKind kind, int index, GroundPoint stored) {
  return std::any_of(marks.handPlaced.begin(), marks.handPlaced.end(), [&](const LabelMark& m) {
    return m.kind == kind && m.index == index && m.stored.x == stored.x && m.stored.y == stored.y;
  });
}

}  // namespace qp
