// Compile-time check of the byte positions of the height network record: the
// .NAH file is exchanged between installations and must keep its layout.
#pragma once

#include <cstddef>

#include "height/height_network.h"

namespace qp {

static_assert(offsetof(LoopEntry, names) == 0);
static_assert(offsetof(LoopEntry, closure) == 44);
static_assert(offsetof(LoopEntry, sections) == 48);
static_assert(offsetof(LoopEntry, kind) == 64);
static_assert(offsetof(LoopEntry, labelX) == 72);
static_assert(offsetof(LoopEntry, labelY) == 80);
static_assert(offsetof(LoopEntry, drawFlag) == 88);

static_assert(offsetof(HeightNetwork, mode) == 0);
static_assert(offsetof(HeightNetwork, derivedFlag) == 4);
static_assert(offsetof(HeightNetwork, kind) == 8);
static_assert(offsetof(HeightNetwork, sigma0) == 16);
static_assert(offsetof(HeightNetwork, largestCorrection) == 24);
static_assert(offsetof(HeightNetwork, networkName) == 32);
static_assert(offsetof(HeightNetwork, dataFilePath) == 97);
static_assert(offsetof(HeightNetwork, priorError) == 360);
static_assert(offsetof(HeightNetwork, knownCount) == 368);
static_assert(offsetof(HeightNetwork, approxCount) == 372);
static_assert(offsetof(HeightNetwork, unknownPointCount) == 376);
static_assert(offsetof(HeightNetwork, pointCount) == 380);
static_assert(offsetof(HeightNetwork, unknownCount) == 384);
static_assert(offsetof(HeightNetwork, redundancy) == 388);
static_assert(offsetof(HeightNetwork, nameCount) == 392);
static_assert(offsetof(HeightNetwork, nameList) == 396);
static_assert(offsetof(HeightNetwork, pointName) == 22924);
static_assert(offsetof(HeightNetwork, height) == 45456);
static_assert(offsetof(HeightNetwork, heightError) == 61840);
static_assert(offsetof(HeightNetwork, diagramX) == 70032);
static_assert(offsetof(HeightNetwork, diagramY) == 86416);
static_assert(offsetof(HeightNetwork, labelOffsetX) == 102800);
static_assert(offsetof(HeightNetwork, labelOffsetY) == 110992);
static_assert(offsetof(HeightNetwork, coordinateCount) == 119184);
static_assert(offsetof(HeightNetwork, coordinateName) == 119188);
static_assert(offsetof(HeightNetwork, coordinateX) == 141720);
static_assert(offsetof(HeightNetwork, coordinateY) == 141720 + 8 * 2048);
static_assert(offsetof(HeightNetwork, observationCount) == 174488);
static_assert(offsetof(HeightNetwork, observed) == 174496);
static_assert(offsetof(HeightNetwork, weightElement) == 194976);
static_assert(offsetof(HeightNetwork, differenceErrorLow) == 215456);
static_assert(offsetof(HeightNetwork, from) == 223648);
static_assert(offsetof(HeightNetwork, to) == 251808);
static_assert(offsetof(HeightNetwork, curve) == 279968);
static_assert(offsetof(HeightNetwork, pairCount) == 484768);
static_assert(offsetof(HeightNetwork, pairFrom) == 484772);
static_assert(offsetof(HeightNetwork, pairTo) == 484772 + 11 * 64);
static_assert(offsetof(HeightNetwork, pairDifference) == 486184);
static_assert(offsetof(HeightNetwork, pairError) == 486696);
static_assert(offsetof(HeightNetwork, loopCount) == 486952);
static_assert(offsetof(HeightNetwork, loops) == 486960);
static_assert(offsetof(HeightNetwork, numberFontFace) == 585264);
static_assert(offsetof(HeightNetwork, textFontFace) == 585304);
static_assert(offsetof(HeightNetwork, capacities) == 585352);
static_assert(offsetof(HeightNetwork, derivedMarker) == 585368);
static_assert(offsetof(HeightNetwork, diagramKind) == 585372);
static_assert(offsetof(HeightNetwork, lastComputedPointCount) == 585376);
static_assert(offsetof(HeightNetwork, differenceErrorHigh) == 585384);

}  // namespace qp
