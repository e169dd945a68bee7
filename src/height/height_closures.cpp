// Levelling lines and the closure check of the raw-data report.
//
// Height differences meeting at a point that is neither known nor the end of
// more (or fewer) than two of them are one levelling line: they are merged
// between junction points. The lines then form the closure table: lines
// between two known points, pairs of lines between the same two points,
// triangles and quadrilaterals of lines. Both steps are specified as scans
// over all lines or all point combinations; they are carried out here through
// the lines that actually meet, in exactly the order of those scans.
#include <algorithm>
#include <map>
#include <numeric>

#include "common/format.h"
#include "common/gbk_text.h"
#include "height/height_closures.h"

namespace qp {
namespace {

// Merges line s into line r when they share an end that is not a junction;
// the tests run in this order and the first that holds is applied. r keeps
// its direction; its height difference stays "from -> to".
bool MergeInto(LevellingLine& r, const LevellingLine& s, const std::vector<char>& junction) {
  if (r.to == s.to && !junction[r.to]) {
    r.to = s.from;
    r.h = r.h - s.h;
  } else if (r.to == s.from && !junction[r.to]) {
    r.to = s.to;
    r.h = r.h + s.h;
  } else if (r.from == s.to && !junction[r.from]) {
    r.from = s.from;
    r.h = s.h + r.h;
  } else if (r.from == s.from && !junction[r.from]) {
    r.from = s.to;
    r.h = r.h - s.h;
  } else {
    return false;
  }
  r.sections += s.sections;
  return true;
}

int Find(std::vector<int>& parent, int x) {
  while (parent[x] != x) x = parent[x] = parent[parent[x]];
  return x;
}

// Merging, as specified: passes over all lines r (in order) and all later
// lines s until a pass merges nothing. Lines only merge across a non-junction
// point, and such a point ends exactly two height differences, so the lines
// fall into independent chains; each chain is run through the same passes on
// its own members, in the same order, which gives the same lines with the
// same sums without looking at every pair of lines of the network.
void MergeChain(std::vector<LevellingLine>& lines, std::vector<char>& emptied, std::vector<int> members,
                const std::vector<char>& junction) {
  for (bool merged = true; merged && members.size() > 1;) {
    merged = false;
    for (size_t a = 0; a < members.size(); ++a) {
      if (emptied[members[a]]) continue;
      LevellingLine& r = lines[members[a]];
      for (size_t b = a + 1; b < members.size(); ++b) {
        if (emptied[members[b]]) continue;
        if (MergeInto(r, lines[members[b]], junction)) {
          emptied[members[b]] = 1;
          merged = true;
        }
      }
    }
    std::erase_if(members, [&](int m) { return emptied[m] != 0; });
  }
}

// The lines of the closure figures: the first line joining each pair of
// points, and every line of each pair.
struct LineGraph {
  // Lines by unordered point pair (i < j), ordered by i, then j.
  std::map<std::pair<int, int>, std::vector<int>> pairLines;
  // Neighbours of every point through the lines, ascending.
  std::vector<std::vector<int>> neighbours;

  LineGraph(const std::vector<LevellingLine>& lines, int points) : neighbours(static_cast<size_t>(points)) {
    for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
      const LevellingLine& l = lines[k];
      if (l.from == l.to) continue;
      auto& list = pairLines[{std::min(l.from, l.to), std::max(l.from, l.to)}];
      if (list.empty()) {
        neighbours[l.from].push_back(l.to);
        neighbours[l.to].push_back(l.from);
      }
      list.push_back(k);
    }
    for (auto& n : neighbours) std::sort(n.begin(), n.end());
  }

  // The first line joining a and b, or -1.
  int FirstLine(int a, int b) const {
    const auto it = pairLines.find({std::min(a, b), std::max(a, b)});
    return it == pairLines.end() ? -1 : it->second.front();
  }
};

// The height difference of line k travelled from point a to the other end.
double Along(const LevellingLine& line, int a) { return line.from == a ? line.h : -line.h; }

class LoopTableWriter {
 public:
  LoopTableWriter(HeightModel& model, const std::vector<LevellingLine>& lines)
      : model_(model), lines_(lines), capacity_(static_cast<size_t>(model.loopCapacity)) {
    model_.loops.clear();
  }

  bool Full() const { return model_.loops.size() >= capacity_; }

  // A loop through `points` along `loopLines` (line k joins point k to the next).
  void Add(LoopKind kind, std::initializer_list<int> points, std::initializer_list<int> loopLines, double w) {
    if (Full()) return;
    HeightLoop& e = model_.loops.emplace_back();
    int slot = 0;
    for (int p : points) e.names[slot++] = model_.points[p].name;
    slot = 0;
    for (int k : loopLines) e.sections[slot++] = lines_[k].sections;
    e.closure = static_cast<float>(w);
    e.kind = kind;
    e.drawn = true;
  }

 private:
  HeightModel& model_;
  const std::vector<LevellingLine>& lines_;
  size_t capacity_;
};

void WriteLinesSection(ReportFile& report, const HeightModel& model, const std::vector<LevellingLine>& lines,
                       int& section) {
  report.TableHead(
      FormatText("\r\n\r\n%18d.线路高差观测值<个数:%ld   单位:米>\r\n", section++, static_cast<long>(lines.size())),
      "  序号 点    名   点    名               线路高差(m)       测段数\r\n");
  long number = 1;
  for (const LevellingLine& l : lines) {
    report.Printf("%5ld  %-11.10s%-20.10s%10.4f     %12d\r\n", number++, model.points[l.from].name.c_str(),
                  model.points[l.to].name.c_str(), l.h, l.sections);
  }
  report.Rule();
}

void WriteClosureSection(ReportFile& report, const HeightModel& model, int& section) {
  report.TableHead(FormatText("\r\n\r\n%18d.闭合差检验<单位:毫米>\r\n", section++),
                   "  序号 点  名    点  名    点  名    点  名     测段数  闭合差mm\r\n");
  for (size_t k = 0; k < model.loops.size(); ++k) {
    const HeightLoop& e = model.loops[k];
    const long number = static_cast<long>(k) + 1;
    const int sections = e.sections[0] + e.sections[1] + e.sections[2] + e.sections[3];
    const double w = e.closure;
    const std::string* n = e.names;
    switch (e.kind) {
      case kLoopKnownLine:
        report.Printf("%5ld  %-10.10s%-28.10s%6d(1)%10.2f\r\n", number, n[0].c_str(), n[1].c_str(), sections, w);
        break;
      case kLoopTwoLines:
        report.Printf("%5ld  %-10.10s%-28.10s%6d(2)%10.2f\r\n", number, n[0].c_str(), n[1].c_str(), sections, w);
        break;
      case kLoopTriangle:
        report.Printf("%5ld  %-10.10s%-10.10s%-16.10s  %6d(3)%10.2f\r\n", number, n[0].c_str(), n[1].c_str(),
                      n[2].c_str(), sections, w);
        break;
      default:
        report.Printf("%5ld  %-10.10s%-10.10s%-10.10s%-10.10s%4d(4)%10.2f\r\n", number, n[0].c_str(), n[1].c_str(),
                      n[2].c_str(), n[3].c_str(), sections, w);
        break;
    }
  }
  report.Rule();
}

}  // namespace

std::vector<LevellingLine> MergeLevellingLines(const HeightModel& model) {
  const int n = static_cast<int>(model.differences.size());
  const int points = model.PointCount();
  std::vector<LevellingLine> lines(static_cast<size_t>(n));
  std::vector<int> degree(static_cast<size_t>(points), 0);
  for (int i = 0; i < n; ++i) {
    const HeightDifference& d = model.differences[i];
    if (!d.Joined()) return {};  // the point list was not completed
    lines[i] = {d.from, d.to, d.observed, 1};
    ++degree[d.from];
    ++degree[d.to];
  }
  const int known = model.KnownCount();
  std::vector<char> junction(static_cast<size_t>(points));
  for (int p = 0; p < points; ++p) junction[p] = p < known || degree[p] != 2;

  // Chains: height differences joined through non-junction points.
  std::vector<int> parent(static_cast<size_t>(n));
  std::iota(parent.begin(), parent.end(), 0);
  std::vector<int> firstAt(static_cast<size_t>(points), -1);
  bool anyInner = false;
  for (int i = 0; i < n; ++i) {
    for (int p : {lines[i].from, lines[i].to}) {
      if (junction[p]) continue;
      anyInner = true;
      if (firstAt[p] < 0) {
        firstAt[p] = i;
      } else {
        parent[Find(parent, i)] = Find(parent, firstAt[p]);
      }
    }
  }
  if (!anyInner) return lines;

  std::vector<std::vector<int>> chains(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) chains[Find(parent, i)].push_back(i);
  std::vector<char> emptied(static_cast<size_t>(n), 0);
  for (auto& chain : chains) {
    if (chain.size() > 1) MergeChain(lines, emptied, std::move(chain), junction);
  }
  std::vector<LevellingLine> remaining;
  for (int i = 0; i < n; ++i) {
    if (!emptied[i]) remaining.push_back(lines[i]);
  }
  return remaining;
}

void FillLoopTable(HeightModel& model, const std::vector<LevellingLine>& lines) {
  LoopTableWriter table(model, lines);
  const int points = model.PointCount();
  const int known = model.KnownCount();

  // Lines between two known points.
  for (int k = 0; k < static_cast<int>(lines.size()) && !table.Full(); ++k) {
    const LevellingLine& l = lines[k];
    if (l.from < known && l.to < known) {
      table.Add(kLoopKnownLine, {l.from, l.to}, {k},
                (model.points[l.from].height + l.h - model.points[l.to].height) * 1000.0);
    }
  }

  const LineGraph graph(lines, points);
  // Every further line between two points closes a loop with the first.
  for (const auto& [pair, pairLines] : graph.pairLines) {
    const auto [i, j] = pair;
    const int first = pairLines.front();
    for (size_t m = 1; m < pairLines.size() && !table.Full(); ++m) {
      const int other = pairLines[m];
      table.Add(kLoopTwoLines, {i, j}, {first, other},
                (Along(lines[first], i) + Along(lines[other], j)) * 1000.0);
    }
  }

  // Triangles i < j < k, walked i -> j -> k -> i.
  for (int i = 0; i < points && !table.Full(); ++i) {
    for (int j : graph.neighbours[i]) {
      if (j <= i) continue;
      for (int k : graph.neighbours[j]) {
        if (k <= j) continue;
        const int ki = graph.FirstLine(k, i);
        if (ki < 0) continue;
        const int ij = graph.FirstLine(i, j);
        const int jk = graph.FirstLine(j, k);
        table.Add(kLoopTriangle, {i, j, k}, {ij, jk, ki},
                  (Along(lines[ij], i) + Along(lines[jk], j) + Along(lines[ki], k)) * 1000.0);
        if (table.Full()) break;
      }
      if (table.Full()) break;
    }
  }

  // Quadrilaterals i -> j -> k -> l -> i with i < j and k, l beyond j.
  for (int i = 0; i < points && !table.Full(); ++i) {
    for (int j : graph.neighbours[i]) {
      if (j <= i) continue;
      const int ij = graph.FirstLine(i, j);
      for (int k : graph.neighbours[j]) {
        if (k <= j) continue;
        const int jk = graph.FirstLine(j, k);
        for (int l : graph.neighbours[k]) {
          if (l <= j || l == k) continue;
          const int li = graph.FirstLine(l, i);
          if (li < 0) continue;
          const int kl = graph.FirstLine(k, l);
          table.Add(kLoopQuadrilateral, {i, j, k, l}, {ij, jk, kl, li},
                    (Along(lines[ij], i) + Along(lines[jk], j) + Along(lines[kl], k) + Along(lines[li], l)) * 1000.0);
          if (table.Full()) break;
        }
        if (table.Full()) break;
      }
      if (table.Full()) break;
    }
  }
}

int LevellingLinesAndClosures(HeightModel& model, ReportFile& report, int section) {
  if (model.differences.size() <= 1) {
    model.loops.clear();
    return section;
  }
  const std::vector<LevellingLine> lines = MergeLevellingLines(model);
  if (!lines.empty()) WriteLinesSection(report, model, lines, section);
  FillLoopTable(model, lines);
  if (!model.loops.empty()) WriteClosureSection(report, model, section);
  return section;
}

}  // namespace qp
