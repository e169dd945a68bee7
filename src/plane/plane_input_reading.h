// The steps behind confirming the plane input dialog, each usable on its own:
// reading the single tables, forming the reduced distances and checking names
// for duplicates. Every step shows the first failure's message
// and refuses, naming the table line when the refusal is about one; the record
// may then be partly refilled.
#pragma once

#include <optional>

#include "common/platform_services.h"
#include "common/rejected_entry.h"
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"

namespace qp {

// The number of entries a table may take: the record's limit, kept within the
// array that holds the table and never negative, so a damaged data file can
// neither overflow an array nor disable a table by accident.
int PlaneTableLimit(const PlaneNetwork& net, PlaneLimit which, int capacity);

// The single tables, reading the box text into the record.
InputCheck ReadKnownPoints(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadApproxPoints(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadPrecisionPairs(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadKnownHeights(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadDirections(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadFixedAzimuths(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadWeightedAzimuths(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadDistanceLines(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadFixedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform);
InputCheck ReadWeightedDistances(const std::string& box, PlaneNetwork& net, PlatformServices& platform);

// Horizontal length and mark-to-mark height difference of one slope distance.
struct SlopeReduction {
  double length = 0.0;
  double heightDiff = 0.0;
};

// Reduces slope distance `slope` observed with vertical angle (kind 0) or
// zenith distance (kind 1) `angleDms` and refraction coefficient `refraction`.
// A sight steeper than the slope distance allows (only possible through
// rounding near the vertical, or with absurd lengths) has no horizontal
// length: 0. nullopt when the numbers are too large to give a finite result.
std::optional<SlopeReduction> ReduceSlopeDistance(double slope, double angleDms, int angleKind, double refraction,
                                                  double instrumentHeight, double targetHeight);

// Builds the reduced distances from the distance lines: copied in modes 0-1,
// slope-reduced with reciprocal pairs averaged in modes 2-4.
InputCheck FormReducedDistances(PlaneNetwork& net, PlatformServices& platform);

// Given points with equal names, then observations from a point to itself.
bool CheckPlaneDuplicates(const PlaneNetwork& net, PlatformServices& platform);

}  // namespace qp
