// Statistical testing of a least-squares adjustment after the solve: the
// global model test of the unit-weight variance, data snooping of each
// observation (Baarda's w with the a priori sigma0, Pope's tau with the a
// posteriori one), and internal and external reliability (the minimal
// detectable bias and its largest effect on the unknowns).
//
// Nothing here forms the n_obs x n_obs cofactor matrix of the residuals: the
// cofactor of residual i is 1/p_i - s_i - a_i Q a_i^T from the observation's
// own (sparse) equation row a_i and the inverse Q of the normal equations the
// adjustment already formed. s_i is the share of an eliminated nuisance
// unknown (1/n for each direction of a set of n whose orientation unknown was
// reduced out of the normal equations by Schreiber's sum equation).
#pragma once

#include <string>
#include <vector>

namespace qp {

struct StatisticsOptions {
  double alpha = 0.05;    // significance level of the global test (two-sided)
  double alpha0 = 0.001;  // significance level of a single observation's test
  double power = 0.80;    // power of the single test against the minimal detectable bias
};

// One observation as the adjustment left it. Texts are GBK.
struct ObservationEntry {
  std::string kind;  // "方向", "边长", "高差" ...
  std::string from;
  std::string to;
  double v = 0.0;       // residual: adjusted minus observed, in the observation's unit
  double weight = 0.0;  // p; the standard error of the observation is sigma0 / sqrt(p)
  double eliminatedShare = 0.0;
  std::vector<double> coefficients;  // the equation row over the unknowns
  std::vector<int> unknowns;         // its unknowns (negative ones are skipped)
  std::string untestable;            // why it cannot be tested; empty when it can
  // Counted in the redundancy but left out of the normal equations (a single
  // distance, a weight of zero): its share of r shows in no redundancy number.
  bool countedButUnused = false;
};

// The inverse of the normal equations as the store keeps it: the lower
// triangle packed by rows. `datumShift` is subtracted from every element (the
// datum term of a free height network); `groupSize` unknowns make one point
// (2 for plane coordinates, 1 for heights) and `groupNames` name the points.
struct CofactorView {
  const double* packed = nullptr;
  int unknowns = 0;
  double datumShift = 0.0;
  int groupSize = 1;
  std::vector<std::string> groupNames;

  double At(int i, int j) const;
};

struct ObservationTest {
  bool tested = false;      // false for an untestable observation (see the entry)
  bool controlled = false;  // redundancy number large enough to test it
  double qvv = 0.0;         // cofactor of the residual
  double r = 0.0;           // redundancy number (Q_vv P)_ii
  double sigmaL = 0.0;      // a priori standard error of the observation
  double sigmaV = 0.0;      // standard deviation of the residual (a posteriori sigma0)
  double w = 0.0;           // Baarda: v / (sigma0 sqrt(qvv)), a priori sigma0
  double tau = 0.0;         // Pope: v / (sigma0^ sqrt(qvv))
  bool baardaFlag = false;
  bool popeFlag = false;
  double nabla = 0.0;       // estimated gross error -v / r
  double sigmaNabla = 0.0;  // its standard deviation sigma_l / sqrt(r) (a posteriori sigma0)
  double mdb = 0.0;         // minimal detectable bias sigma_l delta0 / sqrt(r) (a priori sigma0)
  double effect = 0.0;      // largest displacement of a point by the mdb
  int effectPoint = -1;     // the point (group) displaced most
};

// The global test of the unit-weight variance as the statistics report gives it.
enum class GlobalTestOutcome { NotMade, Passed, Rejected };

struct AdjustmentStatistics {
  double sigma0Prior = 0.0;
  double sigma0Post = 0.0;
  int redundancy = 0;
  double sumRedundancy = 0.0;  // sum of the redundancy numbers, for the check
  // The redundancy less the observations counted in it but left out of the
  // equations: what the redundancy numbers must sum to. When they do not, the
  // normal equations were singular or too ill-conditioned to trust, and no
  // test is made (globalTested false, nothing flagged).
  int expectedSum = 0;
  bool sumAgrees = true;
  bool globalTested = false;   // a priori sigma0 given and redundancy positive
  double statistic = 0.0;      // r sigma0^2 / sigma0_prior^2
  double lower = 0.0;          // chi-square bounds at alpha/2 and 1 - alpha/2
  double upper = 0.0;
  bool globalPassed = false;
  double baardaCritical = 0.0;  // normal quantile 1 - alpha0/2
  double delta0 = 0.0;          // non-centrality for alpha0 and the power
  bool popeUsable = false;      // redundancy 2 or more
  double popeCritical = 0.0;
  bool baardaChosen = false;    // flags come from Baarda's test (a priori sigma0 given), else Pope's
  std::vector<ObservationTest> tests;
  int flagged = 0;
  int largest = -1;  // the observation with the largest statistic of the chosen test
  int weakest = -1;  // the controlled observation with the largest mdb effect
  StatisticsOptions options;
};

// Redundancy numbers below this mark an observation as uncontrolled.
inline constexpr double kUncontrolledRedundancy = 0.01;
// How far the sum of the redundancy numbers may stray from the redundancy
// (the report prints it to three decimals; a sound solve agrees to 1e-8).
inline constexpr double kRedundancySumTolerance = 0.005;

// The verdict the report prints: none when no test was made or the
// redundancy numbers do not sum to the redundancy (the report then makes no
// tests at all).
GlobalTestOutcome OutcomeOf(const AdjustmentStatistics& s);

AdjustmentStatistics AnalyzeAdjustment(const std::vector<ObservationEntry>& entries, const CofactorView& q,
                                       double sigma0Prior, int redundancy, const StatisticsOptions& options);

// Reads a significance level: "0.05", "5%". False for anything outside (0, 0.5].
bool ParseSignificance(const std::string& text, double& alpha);

}  // namespace qp
