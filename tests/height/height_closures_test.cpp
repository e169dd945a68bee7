// Levelling lines and the closure table, checked against plain transcriptions
// of the specified scans (every pair of lines until nothing merges; every
// point pair, triple and quadruple) on random networks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <tuple>

#include "common/format.h"
#include "common/name_slot.h"
#include "height/height_closures.h"
#include "height/height_model_record.h"

namespace qp {
namespace {

struct Observation {
  int from;
  int to;
  double h;
};

void Build(HeightNetwork& net, int points, int known, const std::vector<Observation>& obs) {
  ResetHeightNetwork(net, "t.NAH");
  net.pointCount = points;
  net.knownCount = known;
  for (int p = 0; p < points; ++p) {
    SetSlotText(net.pointName[p], Format("P%d", p));
    net.height[p] = 100.0 + 0.37 * p;
  }
  net.observationCount = static_cast<int>(obs.size());
  for (size_t i = 0; i < obs.size(); ++i) {
    SetSlotText(net.from[i], Format("P%d", obs[i].from));
    SetSlotText(net.to[i], Format("P%d", obs[i].to));
    net.observed[i] = obs[i].h;
  }
}

// The merging as specified, over all pairs of lines.
std::vector<LevellingLine> ReferenceLines(const std::vector<Observation>& obs, int points, int known) {
  std::vector<LevellingLine> lines;
  std::vector<int> degree(points, 0);
  for (const auto& o : obs) {
    lines.push_back({o.from, o.to, o.h, 1});
    ++degree[o.from];
    ++degree[o.to];
  }
  auto junction = [&](int p) { return p < known || degree[p] != 2; };
  std::vector<bool> empty(lines.size(), false);
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t r = 0; r < lines.size(); ++r) {
      if (empty[r]) continue;
      for (size_t s = r + 1; s < lines.size(); ++s) {
        if (empty[s]) continue;
        LevellingLine& a = lines[r];
        const LevellingLine& b = lines[s];
        if (a.to == b.to && !junction(a.to)) {
          a.to = b.from, a.h = a.h - b.h;
        } else if (a.to == b.from && !junction(a.to)) {
          a.to = b.to, a.h = a.h + b.h;
        } else if (a.from == b.to && !junction(a.from)) {
          a.from = b.from, a.h = b.h + a.h;
        } else if (a.from == b.from && !junction(a.from)) {
          a.from = b.to, a.h = a.h - b.h;
        } else {
          continue;
        }
        a.sections += b.sections;
        empty[s] = true;
        merged = true;
      }
    }
  }
  std::vector<LevellingLine> out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!empty[i]) out.push_back(lines[i]);
  }
  return out;
}

struct RefLoop {
  int kind;
  std::vector<int> points;
  std::vector<int> sections;
  float w;
};

// The closure scans as specified, over all point combinations.
std::vector<RefLoop> ReferenceLoops(const std::vector<LevellingLine>& lines, const HeightNetwork& net, int points,
                                    int known, size_t capacity) {
  std::vector<RefLoop> out;
  auto add = [&](RefLoop l) {
    if (out.size() < capacity) out.push_back(std::move(l));
  };
  for (const auto& l : lines) {
    if (l.from < known && l.to < known) {
      add({1, {l.from, l.to}, {l.sections}, float((net.height[l.from] + l.h - net.height[l.to]) * 1000.0)});
    }
  }
  auto joins = [&](const LevellingLine& l, int a, int b) {
    return (l.from == a && l.to == b) || (l.from == b && l.to == a);
  };
  auto first = [&](int a, int b) {
    for (size_t k = 0; k < lines.size(); ++k) {
      if (joins(lines[k], a, b)) return static_cast<int>(k);
    }
    return -1;
  };
  auto along = [&](int k, int a) { return lines[k].from == a ? lines[k].h : -lines[k].h; };
  std::vector<bool> taken(lines.size(), false);
  for (int i = 0; i < points; ++i) {
    for (int j = i + 1; j < points; ++j) {
      int base = -1;
      for (size_t k = 0; k < lines.size(); ++k) {
        if (!joins(lines[k], i, j) || taken[k]) continue;
        taken[k] = true;
        if (base < 0) {
          base = static_cast<int>(k);
          continue;
        }
        add({2, {i, j}, {lines[base].sections, lines[k].sections},
             float((along(base, i) + along(static_cast<int>(k), j)) * 1000.0)});
      }
    }
  }
  for (int i = 0; i < points; ++i) {
    for (int j = i + 1; j < points; ++j) {
      for (int k = j + 1; k < points; ++k) {
        const int a = first(i, j), b = first(j, k), c = first(k, i);
        if (a < 0 || b < 0 || c < 0) continue;
        add({3, {i, j, k}, {lines[a].sections, lines[b].sections, lines[c].sections},
             float((along(a, i) + along(b, j) + along(c, k)) * 1000.0)});
      }
    }
  }
  for (int i = 0; i < points; ++i) {
    for (int j = i + 1; j < points; ++j) {
      for (int k = j + 1; k < points; ++k) {
        for (int l = j + 1; l < points; ++l) {
          if (l == k) continue;
          const int a = first(i, j), b = first(j, k), c = first(k, l), d = first(l, i);
          if (a < 0 || b < 0 || c < 0 || d < 0) continue;
          add({4, {i, j, k, l}, {lines[a].sections, lines[b].sections, lines[c].sections, lines[d].sections},
               float((along(a, i) + along(b, j) + along(c, k) + along(d, l)) * 1000.0)});
        }
      }
    }
  }
  return out;
}

// A random network of junction points joined by lines of one to five
// sections, with parallel lines, rings without any junction, random
// orientations and a shuffled order.
std::vector<Observation> RandomNetwork(std::mt19937& rng, int& points) {
  std::uniform_int_distribution<int> junctionCount(2, 7);
  const int junctions = junctionCount(rng);
  points = junctions;
  std::vector<Observation> obs;
  std::uniform_real_distribution<double> h(-3.0, 3.0);
  auto section = [&](int a, int b) {
    if (rng() % 2) std::swap(a, b);
    obs.push_back({a, b, std::round(h(rng) * 10000.0) / 10000.0});
  };
  const int edges = 2 + static_cast<int>(rng() % 12);
  for (int e = 0; e < edges; ++e) {
    const int a = static_cast<int>(rng() % junctions);
    int b = static_cast<int>(rng() % junctions);
    if (a == b) b = (b + 1) % junctions;
    const int sections = 1 + static_cast<int>(rng() % 5);
    int previous = a;
    for (int s = 1; s < sections; ++s) {
      section(previous, points);
      previous = points++;
    }
    section(previous, b);
  }
  if (rng() % 3 == 0) {  // a ring of points that end two lines each
    const int first = points;
    const int size = 2 + static_cast<int>(rng() % 3);
    for (int s = 0; s < size; ++s) section(first + s, first + (s + 1) % size);
    points += size;
  }
  std::shuffle(obs.begin(), obs.end(), rng);
  return obs;
}

TEST(HeightClosures, MatchTheSpecifiedScansOnRandomNetworks) {
  std::mt19937 rng(20240611);
  auto net = std::make_unique<HeightNetwork>();
  int kinds[5] = {};
  for (int round = 0; round < 250; ++round) {
    int points = 0;
    const std::vector<Observation> obs = RandomNetwork(rng, points);
    const int known = static_cast<int>(rng() % 3);
    Build(*net, points, known, obs);
    const size_t capacity = round % 5 == 0 ? 3 : 1024;
    net->capacities[kCapacityLoops] = static_cast<int>(capacity);
    HeightModel model = HeightModelFromRecord(*net);

    const std::vector<LevellingLine> lines = MergeLevellingLines(model);
    const std::vector<LevellingLine> expected = ReferenceLines(obs, points, known);
    ASSERT_EQ(lines.size(), expected.size()) << round;
    for (size_t k = 0; k < lines.size(); ++k) {
      EXPECT_EQ(std::tie(lines[k].from, lines[k].to, lines[k].h, lines[k].sections),
                std::tie(expected[k].from, expected[k].to, expected[k].h, expected[k].sections))
          << round << " line " << k;
    }

    FillLoopTable(model, lines);
    const std::vector<RefLoop> ref = ReferenceLoops(expected, *net, points, known, capacity);
    ASSERT_EQ(model.loops.size(), ref.size()) << round;
    for (size_t k = 0; k < ref.size(); ++k) {
      const HeightLoop& e = model.loops[k];
      EXPECT_EQ(e.kind, ref[k].kind) << round << " loop " << k;
      EXPECT_EQ(e.closure, ref[k].w) << round << " loop " << k;
      EXPECT_TRUE(e.drawn);
      for (int s = 0; s < 4; ++s) {
        const size_t n = static_cast<size_t>(s);
        EXPECT_EQ(e.names[s], n < ref[k].points.size() ? Format("P%d", ref[k].points[n]) : "");
        EXPECT_EQ(e.sections[s], n < ref[k].sections.size() ? ref[k].sections[n] : 0);
      }
    }
    for (const HeightLoop& e : model.loops) ++kinds[e.kind];
  }
  // The rounds did exercise every kind.
  for (int kind = 1; kind <= 4; ++kind) EXPECT_GT(kinds[kind], 50) << kind;
}

TEST(HeightClosures, LineOfFiveSectionsBetweenKnownPoints) {
  auto net = std::make_unique<HeightNetwork>();
  // P0 and P1 known; the sections typed out of order and partly reversed.
  Build(*net, 6, 2, {{3, 4, 0.5}, {0, 2, 1.0}, {5, 4, -0.25}, {2, 3, 0.125}, {5, 1, 0.0}});
  HeightModel model = HeightModelFromRecord(*net);
  const auto lines = MergeLevellingLines(model);
  ASSERT_EQ(lines.size(), 1u);
  // The first section, 3 -> 4, grows at both ends into the line 0 -> 1.
  EXPECT_EQ(lines[0].from, 0);
  EXPECT_EQ(lines[0].to, 1);
  EXPECT_EQ(lines[0].sections, 5);
  EXPECT_DOUBLE_EQ(lines[0].h, 1.875);
  FillLoopTable(model, lines);
  ASSERT_EQ(model.loops.size(), 1u);
  EXPECT_EQ(model.loops[0].kind, kLoopKnownLine);
  EXPECT_EQ(model.loops[0].sections[0], 5);
  // H0 + h - H1 = 100 + 1.875 - 100.37
  EXPECT_NEAR(model.loops[0].closure, 1505.0, 1e-3);
}

// The closure table of the network in `net`, filled in its model and put back.
HeightModel FilledTable(HeightNetwork& net) {
  HeightModel model = HeightModelFromRecord(net);
  model.mode = kHeightAdjust;
  FillLoopTable(model, MergeLevellingLines(model));
  PutHeightLoops(model, net);
  return model;
}

TEST(HeightClosures, ReciprocalPairAndTableCapacity) {
  auto net = std::make_unique<HeightNetwork>();
  // Both ends are junctions (P1 ends three lines).
  Build(*net, 3, 1, {{0, 1, 1.2345}, {1, 0, -1.2335}, {1, 2, 0.5}});
  FilledTable(*net);
  ASSERT_EQ(net->loopCount, 1);
  EXPECT_EQ(net->loops[0].kind, kLoopTwoLines);
  EXPECT_NEAR(net->loops[0].closure, 1.0, 1e-4);  // the sum of both in mm
  // Without the third line P1 is inside one line from P0 back to P0.
  Build(*net, 2, 1, {{0, 1, 1.2345}, {1, 0, -1.2335}});
  FilledTable(*net);
  ASSERT_EQ(net->loopCount, 1);
  EXPECT_EQ(net->loops[0].kind, kLoopKnownLine);
  EXPECT_NEAR(net->loops[0].closure, 1.0, 1e-4);

  // 1100 lines between the same two points give 1099 loops; 1024 stay.
  std::vector<Observation> many(1100, {0, 1, 1.0});
  Build(*net, 2, 1, many);
  FilledTable(*net);
  EXPECT_EQ(net->loopCount, 1024);
  EXPECT_EQ(net->loops[1023].kind, kLoopTwoLines);
  // The label positions of the drawing survive a refill.
  net->loops[5].labelX = 12.5;
  FilledTable(*net);
  EXPECT_EQ(net->loops[5].labelX, 12.5);
}

TEST(HeightClosures, PuttingTheTableBack) {
  auto net = std::make_unique<HeightNetwork>();
  Build(*net, 2, 1, std::vector<Observation>(4, {0, 1, 1.0}));
  HeightModel model = FilledTable(*net);
  ASSERT_EQ(net->loopCount, 3);
  net->loops[2].labelY = 7.0;
  // A shorter table checked anew clears the entries beyond it, but for their
  // label positions.
  model.loops.resize(1);
  PutHeightLoops(model, *net);
  EXPECT_EQ(net->loopCount, 1);
  EXPECT_EQ(net->loops[2].kind, kLoopNone);
  EXPECT_EQ(SlotText(net->loops[2].names[0]), "");
  EXPECT_EQ(net->loops[2].closure, 0.0f);
  EXPECT_EQ(net->loops[2].drawFlag, 0);
  EXPECT_EQ(net->loops[2].labelY, 7.0);
  // An estimate only says the table is empty.
  model = FilledTable(*net);
  model.mode = kHeightEstimate;
  model.loops.clear();
  PutHeightLoops(model, *net);
  EXPECT_EQ(net->loopCount, 0);
  EXPECT_EQ(net->loops[2].kind, kLoopTwoLines);
}

}  // namespace
}  // namespace qp
