#!/usr/bin/env bash
# Figures of the house: source lines, test lines, the places that bound a
# record count by a capacity (count guards), and the places outside the file
# code that include a network record header.
#   bench/house_figures.sh [REPO]
cd "${1:-$(dirname "$0")/..}"
lines() { find "$@" -name '*.cpp' -o -name '*.h' | xargs cat | wc -l; }
echo "src lines:        $(lines src)"
echo "test lines:       $(lines tests)"
echo "count guards:     $(grep -rEn 'BoundedCount|CapacityOf|kMax(PlanePoints|Directions|ReducedDistances|DistanceLines|SmallTable|Sides|HeightPoints|HeightDifferences|HeightPairs|LoopEntries)\b' src --include=*.cpp | grep -v -E 'src/(plane/plane_(network|file)|height/height_(network|file))\.cpp' | wc -l)"
echo "record includes:  $(grep -rlE '#include "(plane/plane_network|height/height_network)\.h"' src | grep -v -E 'src/(plane/plane_(network|file|network_layout)|height/height_(network|file|network_layout))\.(cpp|h)$' | wc -l)"
