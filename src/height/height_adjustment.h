// The computation of a confirmed height network: the iterated least-squares
// adjustment of the height differences, or the precision estimate of a
// design, with the result sections of the report and the height export.
//
// Units: the unknowns are height corrections in millimetres, one per unknown
// point (unknown j is point KnownCount() + j); the constants are in mm. A
// levelling network weighs a height difference by 1 / s, a trigonometric one
// by 1 / s^2, s being its weight element. A network without known points is
// a free network: the datum term 1/u is added to every element of the normal
// matrix, which fixes the mean of the corrections.
#pragma once

#include <string>

#include "common/report_file.h"
#include "height/height_model.h"
#include "adjustment/adjustment_messages.h"
#include "adjustment/computation_dialogue.h"
#include "adjustment/adjustment_mode.h"
#include "adjustment/normal_equation_store.h"

namespace qp {

// Everything one computation works with. The report is open and positioned
// at its end; `exportPath` is the file-system path of the height export.
struct HeightComputation {
  HeightModel& model;
  NormalEquationStore& normals;
  ComputationDialogue dialogue;
  ReportFile& report;
  SectionNumber& section;
  std::string exportPath;
  int iterations = 0;  // of the last adjustment
};

// The weight of height difference `i`.
double HeightWeight(const HeightModel& model, int i);

// Clears the normal equations and accumulates every height difference; adds
// the datum term for a free network. False when the user stopped at a prompt.
bool FormHeightEquations(HeightComputation& c, AdjustmentMode mode);

// The adjustment: iterations until every correction is at most 5 mm, the
// heights, corrections and precision sections, sigma0, the export.
bool AdjustHeightNetwork(HeightComputation& c);
// The precision estimate with the prior error as sigma0.
bool EstimateHeightPrecision(HeightComputation& c);

std::string HeightExportPathFor(const std::string& dataPath);

}  // namespace qp
