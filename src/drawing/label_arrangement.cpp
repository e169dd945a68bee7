#include "drawing/label_arrangement.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/height_item_moves.h"
#include "drawing/network_drawing.h"
#include "drawing/plane_diagram.h"
#include "drawing/sheet_obstacles.h"
#include "drawing/text_layout.h"

namespace qp {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The ring: how far the text's edge is put from its anchor (mm), in 16 directions.
constexpr double kRingDistancesMm[] = {1.0, 2.5, 4.5, 7.0, 10.0};
constexpr int kRingDirections = 16;
// Rounds of placing every text against the others' current places.
constexpr int kRounds = 3;
// The neighbourhood that matters around the texts: the ring and a long text.
constexpr double kReachMm = 60.0;

struct Subject {
  MovableItem item;
  TextFootprint home;    // at its current place
  PaperPoint anchor;     // what the ring goes round
  PaperPoint toDefault;  // shift from the current place to the default one
  bool pinned = false;   // placed by hand and free: stays
  PaperPoint shift{};    // chosen, from the current place
};

PaperPoint ToPaper(GroundPoint g, double m) { return {g.y / m, g.x / m}; }
PaperPoint Centre(const TextFootprint& f) { return {(f.minX + f.maxX) / 2, (f.minY + f.maxY) / 2}; }
double Distance(PaperPoint a, PaperPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }
bool Finite(PaperPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The recorded text each movable text item was drawn as (-1 when none).
std::vector<int> MatchRecordedTexts(const SheetObstacles& sheet, const std::vector<MovableItem>& items) {
  using Key = std::tuple<double, double, std::string>;
  const auto keyOf = [](const TextBlock& b) { return Key{b.x, b.y, std::string(TextOf(b))}; };
  std::map<Key, std::vector<int>> recorded;
  for (size_t i = 0; i < sheet.Texts().size(); ++i) recorded[keyOf(sheet.Texts()[i])].push_back(static_cast<int>(i));
  std::vector<int> match;
  for (const MovableItem& item : items) {
    int found = -1;
    if (item.isText) {
      const auto it = recorded.find(keyOf(item.text));
      if (it != recorded.end() && !it->second.empty()) {
        found = it->second.front();
        it->second.erase(it->second.begin());
      }
    }
    match.push_back(found);
  }
  return match;
}

class Arranger {
 public:
  Arranger(SheetObstacles& sheet, std::vector<Subject>& subjects, const PaperBounds& area)
      : sheet_(sheet), subjects_(subjects), moving_(area, 6.0) {
    for (size_t i = 0; i < subjects_.size(); ++i) moving_.Insert(static_cast<int>(i), BoundsOf(Now(i)));
  }

  // Texts placed by hand that meet nothing keep their place.
  void Pin(const std::function<bool(const Subject&)>& placedByHand) {
    for (size_t i = 0; i < subjects_.size(); ++i)
      if (placedByHand(subjects_[i])) subjects_[i].pinned = !CostAt(i, Now(i)).Collides();
  }

  void Run() {
    for (int round = 0; round < kRounds; ++round) {
      bool changed = false;
      for (size_t i = 0; i < subjects_.size(); ++i) changed = Place(i) || changed;
      if (!changed) break;
    }
  }

 private:
  TextFootprint Now(size_t i) const { return Shifted(subjects_[i].home, subjects_[i].shift); }

  // What the text would meet at `f`; counted no further than past `bound`.
  OverlapCost CostAt(size_t i, const TextFootprint& f, double bound = std::numeric_limits<double>::infinity()) {
    double others = 0.0;
    moving_.ForEach(BoundsOf(f), [&](int j) {
      if (static_cast<size_t>(j) == i) return;
      const double share = FootprintShare(f, Now(static_cast<size_t>(j)));
      if (share > 0.0) others += share + (share > kOverprintShare ? 10.0 : 0.0);
    });
    OverlapCost cost = sheet_.CostOf(f, bound - others);
    cost.texts += others;
    return cost;
  }

  std::vector<PaperPoint> Candidates(const Subject& s) const {
    std::vector<PaperPoint> shifts{{0.0, 0.0}, s.toDefault};
    const PaperPoint c = Centre(s.home);
    const double halfW = (s.home.maxX - s.home.minX) / 2, halfH = (s.home.maxY - s.home.minY) / 2;
    for (const double r : kRingDistancesMm) {
      for (int k = 0; k < kRingDirections; ++k) {
        const double a = kPi / 2 + 2 * kPi * k / kRingDirections;
        shifts.push_back({s.anchor.x + std::cos(a) * (halfW + r) - c.x, s.anchor.y + std::sin(a) * (halfH + r) - c.y});
      }
    }
    // Nearest the default first; a free place ends the search.
    std::stable_sort(shifts.begin(), shifts.end(), [&](PaperPoint a, PaperPoint b) {
      return Distance(a, s.toDefault) < Distance(b, s.toDefault);
    });
    return shifts;
  }

  // Moves subject i to its best place; true when it moved.
  bool Place(size_t i) {
    Subject& s = subjects_[i];
    if (s.pinned) return false;
    PaperPoint best = s.shift;
    double bestCost = CostAt(i, Now(i)).Total();
    double bestDistance = Distance(s.shift, s.toDefault);
    for (const PaperPoint& shift : Candidates(s)) {
      const double distance = Distance(shift, s.toDefault);
      if (bestCost == 0.0 && distance >= bestDistance) break;
      const double cost = CostAt(i, Shifted(s.home, shift), bestCost + 1e-6).Total();
      if (cost < bestCost - 1e-9 || (cost <= bestCost + 1e-9 && distance < bestDistance - 1e-9)) {
        best = shift, bestCost = cost, bestDistance = distance;
      }
    }
    if (best.x == s.shift.x && best.y == s.shift.y) return false;
    moving_.Remove(static_cast<int>(i), BoundsOf(Now(i)));
    s.shift = best;
    moving_.Insert(static_cast<int>(i), BoundsOf(Now(i)));
    return true;
  }

  SheetObstacles& sheet_;
  std::vector<Subject>& subjects_;
  PaperGrid moving_;
};

// Where a subject belongs, in paper mm: its anchor and the shift from its
// current place to its default one. False for a text not to be arranged.
using Placement = std::function<bool(const MovableItem&, const TextFootprint&, PaperPoint& anchor, PaperPoint& toDefault)>;

struct ArrangeJob {
  DrawnNetwork network;
  Placement placement;
  std::function<bool(const MovableItem&)> placedByHand;
  std::function<void(const MovableItem&, GroundPoint newReference, double m)> store;
};

std::optional<PaperBounds> InnerFrame(const SettingsBlock& s, double m) {
  const PaperBounds f{s.cornerY / m, s.cornerX / m, s.eastEdgeY / m, s.northEdgeX / m};
  if (!std::isfinite(f.minX) || !std::isfinite(f.minY) || !std::isfinite(f.maxX) || !std::isfinite(f.maxY) ||
      !(f.maxX > f.minX) || !(f.maxY > f.minY)) {
    return std::nullopt;
  }
  return f;
}

std::optional<int> Arrange(const SettingsBlock& settings, const ArrangeJob& job, const DrawContext& context) {
  const auto geometry = SheetGeometryOf(settings);
  if (!geometry) return std::nullopt;
  const double m = geometry->GroundPerMillimetre();
  if (!(m > 0.0) || !std::isfinite(m)) return std::nullopt;
  SheetObstacles sheet(m);
  MovableItemList items;
  if (!DrawNetworkSheet(sheet, settings, job.network, context, &items)) return std::nullopt;

  const std::vector<int> recorded = MatchRecordedTexts(sheet, items.Items());
  std::vector<Subject> subjects;
  std::vector<int> movable;
  PaperBounds area{};
  for (size_t i = 0; i < items.Items().size(); ++i) {
    const MovableItem& item = items.Items()[i];
    if (recorded[i] < 0) continue;
    const auto& footprint = sheet.FootprintOfText(static_cast<size_t>(recorded[i]));
    Subject s{item, footprint ? *footprint : TextFootprint{}, {}, {}};
    if (!footprint || !job.placement(item, s.home, s.anchor, s.toDefault)) continue;
    if (!Finite(s.anchor) || !Finite(s.toDefault)) continue;
    const PaperBounds b = BoundsOf(s.home);
    area = subjects.empty() ? b
                            : PaperBounds{std::min(area.minX, b.minX), std::min(area.minY, b.minY),
                                          std::max(area.maxX, b.maxX), std::max(area.maxY, b.maxY)};
    subjects.push_back(s);
    movable.push_back(recorded[i]);
  }
  if (subjects.empty()) return 0;
  area = area.Grown(kReachMm);
  sheet.Index(area, movable, InnerFrame(settings, m));
  Arranger arranger(sheet, subjects, area);
  arranger.Pin([&](const Subject& s) { return job.placedByHand(s.item); });
  arranger.Run();

  int moved = 0;
  for (const Subject& s : subjects) {
    if (s.shift.x == 0.0 && s.shift.y == 0.0) continue;
    job.store(s.item, GroundPoint{s.item.reference.x + s.shift.y * m, s.item.reference.y + s.shift.x * m}, m);
    ++moved;
  }
  return moved;
}

// A name's anchor is its point; its default place has no label offset.
bool NamePlacement(GroundPoint point, std::optional<GroundPoint> offsetMm, double m, PaperPoint& anchor,
                   PaperPoint& toDefault) {
  if (!offsetMm) return false;
  anchor = ToPaper(point, m);
  const double north = std::isfinite(offsetMm->x) ? offsetMm->x : 0.0;
  const double east = std::isfinite(offsetMm->y) ? offsetMm->y : 0.0;
  toDefault = {-east, -north};
  return true;
}

// Whether an item was placed by hand and still holds the value it was placed at.
template <class Model>
std::function<bool(const MovableItem&)> PlacedByHand(const Model& model, const LabelMarks& marks) {
  return [&model, &marks](const MovableItem& item) {
    const auto stored = StoredLabelValue(model, item.kind, item.index);
    return stored && IsPlacedByHand(marks, item.kind, item.index, *stored);
  };
}

}  // namespace

std::optional<int> ArrangePlaneLabels(const SettingsBlock& settings, PlaneModel& model, const LabelMarks& marks,
                                      const DrawContext& context) {
  const std::vector<std::optional<GroundPoint>> defaults = DefaultTraverseLabels(model);
  const double m = settings.scale * 0.001;
  ArrangeJob job;
  job.network = model;
  job.placement = [&](const MovableItem& item, const TextFootprint& home, PaperPoint& anchor, PaperPoint& toDefault) {
    if (item.kind == MovableKind::PlaneName) {
      const PlanePoint& p = model.points[static_cast<size_t>(item.index)];
      return NamePlacement({p.x, p.y}, StoredLabelValue(model, item.kind, item.index), m, anchor, toDefault);
    }
    if (item.kind != MovableKind::TraverseLabel) return false;
    const size_t t = static_cast<size_t>(item.index);
    const std::optional<GroundPoint> home0 = t < defaults.size() ? defaults[t] : std::nullopt;
    const GroundPoint target = home0 ? *home0 : item.reference;
    toDefault = {(target.y - item.reference.y) / m, (target.x - item.reference.x) / m};
    const PaperPoint c = Centre(home);
    anchor = {c.x + toDefault.x, c.y + toDefault.y};
    return true;
  };
  job.placedByHand = PlacedByHand(model, marks);
  job.store = [&](const MovableItem& item, GroundPoint to, double mm) { StoreMovedPlaneItem(model, item, to, mm); };
  return Arrange(settings, job, context);
}

std::optional<int> ArrangeHeightLabels(const SettingsBlock& settings, HeightModel& model, const LabelMarks& marks,
                                       const DrawContext& context) {
  const double m = settings.scale * 0.001;
  ArrangeJob job;
  job.network = model;
  job.placement = [&](const MovableItem& item, const TextFootprint& home, PaperPoint& anchor, PaperPoint& toDefault) {
    if (item.kind == MovableKind::HeightName) {
      const auto point = StoredLabelValue(model, MovableKind::HeightPoint, item.index);
      return point && NamePlacement(*point, StoredLabelValue(model, item.kind, item.index), m, anchor, toDefault);
    }
    if (item.kind != MovableKind::LoopLabel) return false;
    // A loop's text has no other place of its own than the one it holds.
    anchor = Centre(home);
    toDefault = {0.0, 0.0};
    return true;
  };
  job.placedByHand = PlacedByHand(model, marks);
  job.store = [&](const MovableItem& item, GroundPoint to, double mm) { StoreMovedHeightItem(model, item, to, mm); };
  return Arrange(settings, job, context);
}

}  // namespace qp
