#include "statistics/adjustment_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

namespace qp {
namespace {

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

size_t Packed(int i, int j) {
  if (i < j) std::swap(i, j);
  return static_cast<size_t>(i) * static_cast<size_t>(i + 1) / 2 + static_cast<size_t>(j);
}

// The row's non-negative unknowns with their coefficients (an unknown given
// twice counts with its summed coefficient).
void CompactRow(const ObservationEntry& e, int unknowns, std::vector<int>& k, std::vector<double>& c) {
  k.clear();
  c.clear();
  const size_t m = std::min(e.coefficients.size(), e.unknowns.size());
  for (size_t i = 0; i < m; ++i) {
    const int j = e.unknowns[i];
    if (j < 0 || j >= unknowns || !std::isfinite(e.coefficients[i])) continue;
    const auto at = std::find(k.begin(), k.end(), j);
    if (at == k.end()) {
      k.push_back(j);
      c.push_back(e.coefficients[i]);
    } else {
      c[at - k.begin()] += e.coefficients[i];
    }
  }
}

// Columns of Q, kept while the observations that use them follow one another
// (the directions of a set share their station's and targets' columns), so
// that the packed triangle is read across its rows once per column, not once
// per observation. A fixed number of columns is kept in room taken once; a
// new column takes the place of the one fetched longest ago. The columns of
// one point are fetched together: below the diagonal they lie side by side in
// each row, so one pass down the rows reads them all.
class ColumnCache {
 public:
  explicit ColumnCache(const CofactorView& q)
      : q_(q),
        n_(std::max(0, q.unknowns)),
        group_(std::clamp(q.groupSize, 1, static_cast<int>(kKeptColumns))),
        values_(kKeptColumns * static_cast<size_t>(n_)),
        slotOf_(static_cast<size_t>(n_), -1),
        columnIn_(kKeptColumns, -1) {}

  const double* Column(int k) {
    if (slotOf_[k] < 0) FetchGroupOf(k);
    return Slot(slotOf_[k]);
  }

 private:
  static constexpr size_t kKeptColumns = 64;

  double* Slot(int slot) { return values_.data() + static_cast<size_t>(slot) * static_cast<size_t>(n_); }

  void FetchGroupOf(int k) {
    const int first = k / group_ * group_;
    const int last = std::min(first + group_, n_);
    int wanted[kKeptColumns];
    double* into[kKeptColumns];
    int count = 0;
    for (int c = first; c < last; ++c) {
      if (slotOf_[c] >= 0) continue;
      const int slot = next_;
      next_ = (next_ + 1) % static_cast<int>(kKeptColumns);
      if (columnIn_[slot] >= 0) slotOf_[columnIn_[slot]] = -1;
      columnIn_[slot] = c;
      slotOf_[c] = slot;
      wanted[count] = c;
      into[count++] = Slot(slot);
    }
    // Q(j, c) for j <= c is row c of the triangle, for j > c one element of
    // each later row.
    for (int m = 0; m < count; ++m) {
      const double* row = q_.packed + Packed(wanted[m], 0);
      for (int j = 0; j <= wanted[m]; ++j) into[m][j] = row[j] - q_.datumShift;
    }
    for (int j = wanted[0] + 1; j < n_; ++j) {
      const double* row = q_.packed + Packed(j, 0);
      for (int m = 0; m < count; ++m) {
        if (j > wanted[m]) into[m][j] = row[wanted[m]] - q_.datumShift;
      }
    }
  }

  const CofactorView& q_;
  int n_;
  int group_;
  std::vector<double> values_;
  std::vector<int> slotOf_;    // the slot holding column k, or -1
  std::vector<int> columnIn_;  // the column in each slot, or -1
  int next_ = 0;
};

// The largest displacement of a point by the solution change Q a^T p bias.
void LargestEffect(const CofactorView& q, ColumnCache& cache, const std::vector<int>& k, const std::vector<double>& c,
                   double scale, std::vector<double>& change, double& effect, int& point) {
  effect = 0.0;
  point = -1;
  const size_t n = static_cast<size_t>(q.unknowns);
  change.resize(n);
  if (k.empty()) {
    std::fill(change.begin(), change.end(), 0.0);
  }
  for (size_t m = 0; m < k.size(); ++m) {
    const double* column = cache.Column(k[m]);
    const double f = c[m] * scale;
    // The first term is assigned rather than added to zero: the same sum up
    // to the sign of a zero, which the squares below do not see.
    if (m == 0) {
      for (size_t j = 0; j < n; ++j) change[j] = f * column[j];
    } else {
      for (size_t j = 0; j < n; ++j) change[j] += f * column[j];
    }
  }
  const int group = std::max(1, q.groupSize);
  // The root is monotone: a point whose sum of squares is not above the
  // longest one's so far cannot be longer, so only the candidates take it.
  double longestSum2 = 0.0;
  for (int first = 0; first + group <= q.unknowns; first += group) {
    double sum2 = 0.0;
    for (int j = first; j < first + group; ++j) sum2 += change[j] * change[j];
    if (!(sum2 > longestSum2)) continue;
    const double length = std::sqrt(sum2);
    if (std::isfinite(length) && length > effect) {
      effect = length;
      longestSum2 = sum2;
      point = first / group;
    }
  }
}

double NormalQuantile(double p) { return boost::math::quantile(boost::math::normal_distribution<double>(), p); }

double ChiSquareQuantile(double dof, double p) {
  return boost::math::quantile(boost::math::chi_squared_distribution<double>(dof), p);
}

// The critical value of Pope's tau for `redundancy` at the two-sided level
// alpha0: sqrt(r) t / sqrt(r - 1 + t^2), t the Student quantile with r - 1
// degrees of freedom. 0 when redundancy < 2.
double TauCritical(int redundancy, double alpha0) {
  if (redundancy < 2) return 0.0;
  const double r = redundancy;
  const double t = boost::math::quantile(boost::math::students_t_distribution<double>(r - 1.0), 1.0 - alpha0 / 2.0);
  return std::sqrt(r) * t / std::sqrt(r - 1.0 + t * t);
}

}  // namespace

double CofactorView::At(int i, int j) const { return packed[Packed(i, j)] - datumShift; }

bool ParseSignificance(const std::string& text, double& alpha) {
  if (text.empty() || text.size() > 20) return false;
  std::string number = text;
  const bool percent = number.back() == '%';
  if (percent) number.pop_back();
  if (number.empty() || number.find_first_not_of("0123456789.") != std::string::npos) return false;
  char* end = nullptr;
  double value = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || !std::isfinite(value)) return false;
  if (percent) value /= 100.0;
  if (!(value > 0.0 && value <= 0.5)) return false;
  alpha = value;
  return true;
}

GlobalTestOutcome OutcomeOf(const AdjustmentStatistics& s) {
  if (!s.sumAgrees || !s.globalTested) return GlobalTestOutcome::NotMade;
  return s.globalPassed ? GlobalTestOutcome::Passed : GlobalTestOutcome::Rejected;
}

AdjustmentStatistics AnalyzeAdjustment(const std::vector<ObservationEntry>& entries, const CofactorView& q,
                                       double sigma0Prior, int redundancy, const StatisticsOptions& options) {
  AdjustmentStatistics s;
  s.options = options;
  s.sigma0Prior = std::isfinite(sigma0Prior) && sigma0Prior > 0.0 ? sigma0Prior : 0.0;
  s.redundancy = std::max(0, redundancy);
  s.baardaCritical = NormalQuantile(1.0 - options.alpha0 / 2.0);
  s.delta0 = s.baardaCritical + NormalQuantile(options.power);
  s.tests.resize(entries.size());

  double pvv = 0.0;
  for (const ObservationEntry& e : entries) {
    if (e.untestable.empty() && e.weight > 0.0) pvv += e.weight * e.v * e.v;
  }
  s.sigma0Post = s.redundancy > 0 ? Finite(std::sqrt(pvv / s.redundancy)) : 0.0;
  s.popeUsable = s.redundancy >= 2 && s.sigma0Post > 0.0;
  if (s.popeUsable) s.popeCritical = TauCritical(s.redundancy, options.alpha0);
  if (s.sigma0Prior > 0.0 && s.redundancy > 0) {
    s.globalTested = true;
    s.statistic = Finite(pvv / (s.sigma0Prior * s.sigma0Prior));
    s.lower = ChiSquareQuantile(s.redundancy, options.alpha / 2.0);
    s.upper = ChiSquareQuantile(s.redundancy, 1.0 - options.alpha / 2.0);
    s.globalPassed = s.statistic >= s.lower && s.statistic <= s.upper;
  }
  s.baardaChosen = s.sigma0Prior > 0.0;
  // The mdb and its effect are taken with the a priori sigma0 when it is
  // given, else with the a posteriori one.
  const double sigmaForMdb = s.sigma0Prior > 0.0 ? s.sigma0Prior : s.sigma0Post;

  std::vector<int> k;
  std::vector<double> c;
  // The controlled observations, by the first unknown of their row: their
  // effects are computed in that order, so that the observations of one
  // point follow one another and find its columns of Q still kept.
  struct Pending {
    int firstUnknown;
    int index;
  };
  std::vector<Pending> pending;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ObservationEntry& e = entries[i];
    ObservationTest& t = s.tests[i];
    if (!e.untestable.empty() || !(e.weight > 0.0) || !std::isfinite(e.weight)) continue;
    t.tested = true;
    CompactRow(e, q.unknowns, k, c);
    double aqa = 0.0;
    for (size_t m = 0; m < k.size(); ++m) {
      for (size_t n = 0; n < k.size(); ++n) aqa += c[m] * c[n] * q.At(k[m], k[n]);
    }
    const double qll = 1.0 / e.weight;
    t.qvv = std::max(0.0, Finite(qll - e.eliminatedShare - aqa));
    t.r = std::clamp(t.qvv * e.weight, 0.0, 1.0);
    s.sumRedundancy += t.r;
    t.sigmaL = Finite(sigmaForMdb * std::sqrt(qll));
    t.sigmaV = Finite(s.sigma0Post * std::sqrt(t.qvv));
    t.controlled = t.r >= kUncontrolledRedundancy;
    if (!t.controlled) continue;
    const double root = std::sqrt(t.qvv);
    if (s.sigma0Prior > 0.0) {
      t.w = Finite(e.v / (s.sigma0Prior * root));
      t.baardaFlag = std::fabs(t.w) > s.baardaCritical;
    }
    if (s.popeUsable) {
      t.tau = Finite(e.v / (s.sigma0Post * root));
      t.popeFlag = std::fabs(t.tau) > s.popeCritical;
    }
    t.nabla = Finite(-e.v / t.r);
    t.sigmaNabla = Finite(s.sigma0Post * std::sqrt(qll) / std::sqrt(t.r));
    t.mdb = Finite(t.sigmaL * s.delta0 / std::sqrt(t.r));
    pending.push_back({k.empty() ? q.unknowns : *std::min_element(k.begin(), k.end()), static_cast<int>(i)});
  }

  int unused = 0;
  for (const ObservationEntry& e : entries) unused += e.countedButUnused;
  s.expectedSum = std::max(0, s.redundancy - unused);
  s.sumAgrees = std::fabs(s.sumRedundancy - s.expectedSum) <= kRedundancySumTolerance;
  if (!s.sumAgrees) {
    // Nothing of the solve can be trusted: neither the global test nor any
    // observation's.
    s.globalTested = s.globalPassed = false;
    for (ObservationTest& t : s.tests) t.baardaFlag = t.popeFlag = false;
    return s;
  }

  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return a.firstUnknown < b.firstUnknown; });
  std::vector<double> change;
  ColumnCache cache(q);
  for (const Pending& p : pending) {
    const ObservationEntry& e = entries[p.index];
    ObservationTest& t = s.tests[p.index];
    CompactRow(e, q.unknowns, k, c);
    LargestEffect(q, cache, k, c, e.weight * t.mdb, change, t.effect, t.effectPoint);
  }

  double largestStatistic = -1.0;
  double weakestEffect = -1.0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ObservationTest& t = s.tests[i];
    if (!t.tested || !t.controlled) continue;
    const bool flag = s.baardaChosen ? t.baardaFlag : t.popeFlag;
    if (flag) ++s.flagged;
    const double statistic = std::fabs(s.baardaChosen ? t.w : t.tau);
    if (statistic > largestStatistic) {
      largestStatistic = statistic;
      s.largest = static_cast<int>(i);
    }
    if (t.effect > weakestEffect) {
      weakestEffect = t.effect;
      s.weakest = static_cast<int>(i);
    }
  }
  return s;
}

}  // namespace qp
