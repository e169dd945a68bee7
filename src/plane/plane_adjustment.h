// The computation of a confirmed plane network: observation equations of
// every kind into the normal equations, the iterated least-squares adjustment
// by indirect observations (or the precision estimate of a design), and the
// result sections of the report.
//
// Units: unknowns are coordinate corrections in centimetres; direction and
// azimuth equations are in seconds of arc, length equations in centimetres; a
// direction has weight 1, so sigma0 is the standard error of a direction in
// seconds. Unknown point j (index in the point table minus the known-point count)
// owns unknowns 2j (dX) and 2j+1 (dY); known points have negative indices.
// Rows 2u .. hold the constraints of the fixed azimuths, then of the fixed
// distances.
#pragma once

#include <string>

#include "common/report_file.h"
#include "geodesy/angles.h"
#include "adjustment/adjustment_messages.h"
#include "adjustment/computation_dialogue.h"
#include "adjustment/adjustment_mode.h"
#include "adjustment/normal_equation_store.h"
#include "plane/plane_model.h"

namespace qp {

// Everything one computation works with. The report is open and positioned
// at its end; `exportPath` is the file-system path of the coordinate export.
struct PlaneComputation {
  PlaneModel& model;
  NormalEquationStore& normals;
  ComputationDialogue dialogue;
  ReportFile& report;
  SectionNumber& section;
  std::string exportPath;
  // Iterations the last adjustment ran.
  int iterations = 0;
};

// Seconds of arc per (radian x 100): turns radians per metre into seconds per
// centimetre. Taken as kRhoSeconds * 0.01, which gives exactly the double of
// 2062.648 (kRhoSeconds / 100 would be one unit in the last place short).
inline constexpr double kRhoPerCm = kRhoSeconds * 0.01;
static_assert(kRhoPerCm == 2062.648);
// Its square, in seconds^2 per (radian x 100)^2, for the side precisions.
inline constexpr double kRhoPerCmSquared = kRhoPerCm * kRhoPerCm;
static_assert(kRhoPerCmSquared == 4254516.771904001);
// One second of arc in radians.
inline constexpr double kSecondInRadians = 1.0 / kRhoSeconds;
static_assert(kSecondInRadians == 4.848136957929807e-6);

// The plausibility question of the equation builders: true to go on (a
// constant within its limit is not asked about). Angle
// constants are in seconds, length constants in centimetres; the limits are
// 10800 s / 1000 cm adjusting and 36000 s / 10000 cm estimating, strict.
enum class CorrectionKind { Angle, Length };
bool CorrectionPrompt(const ComputationDialogue& dialogue, CorrectionKind kind, AdjustmentMode mode, const char* from,
                      const char* to, double constant);

// The equation builders. False when the user stopped at a CorrectionPrompt
// (the normal equations are then half built).
bool FormDirectionEquations(PlaneComputation& c, AdjustmentMode mode);
bool FormDistanceEquations(PlaneComputation& c, AdjustmentMode mode);
bool FormFixedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode);
bool FormWeightedAzimuthSideEquations(PlaneComputation& c, AdjustmentMode mode);

// Weights the observations cannot take: a distance whose standard error
// 0.1 a + 0.0001 b S is not positive, a negative weight of a weighted azimuth
// or side (adjusting only: the estimate leaves the weighted observations
// out). Fails the dialogue with the message naming the first.
bool CheckObservationWeights(const PlaneModel& model, ComputationDialogue& dialogue, AdjustmentMode mode);

// The whole adjustment with its report sections, or the precision estimate.
// False on failure, with the message to show in c.dialogue (none when the
// user stopped at a question).
bool AdjustPlaneNetwork(PlaneComputation& c);
bool EstimatePlanePrecision(PlaneComputation& c);

// Report sections (each appends to c.report).
double ReportAdjustedDirections(PlaneComputation& c);
double ReportAdjustedDistances(PlaneComputation& c);
double ReportWeightedObservations(PlaneComputation& c);
void ReportPlanePrecision(PlaneComputation& c, double sigma0);
void ReportSidesAndAzimuths(PlaneComputation& c);
// Writes "<data path without extension>坐标数据.txt"; skipped silently when
// it cannot be created or the network has a single point.
void ExportPointCoordinates(const PlaneModel& model, const std::string& exportPath);
// The export path for a data file path: its last four characters (the
// extension with its dot) replaced by "坐标数据.txt" (in the file system's
// encoding, UTF-8).
std::string CoordinateExportPathFor(const std::string& dataPath);

}  // namespace qp
