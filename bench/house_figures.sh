#!/usr/bin/env bash
# Figures of the house: source lines, test lines, the places that bound a
# record count by a capacity (count guards), the places outside the file code
# that include a network record header, and — the one that should stay at
# zero — the computing, report, statistics and drawing files that see a
# record header at all, directly or through the headers they include; and the
# computing files that see the platform's header, which should reach zero too.
#   bench/house_figures.sh [REPO]
cd "${1:-$(dirname "$0")/..}"
lines() { find "$@" -name '*.cpp' -o -name '*.h' | xargs cat | wc -l; }
echo "src lines:        $(lines src)"
echo "test lines:       $(lines tests)"
echo "count guards:     $(grep -rEn 'BoundedCount|CapacityOf|kMax(PlanePoints|Directions|ReducedDistances|DistanceLines|SmallTable|Sides|HeightPoints|HeightDifferences|HeightPairs|LoopEntries)\b' src --include=*.cpp | grep -v -E 'src/(plane/plane_(network|file)|height/height_(network|file))\.cpp' | wc -l)"
echo "record includes:  $(grep -rlE '#include "(plane/plane_network|height/height_network)\.h"' src | grep -v -E 'src/(plane/plane_(network|file|network_layout)|height/height_(network|file|network_layout))\.(cpp|h)$' | wc -l)"
python3 - <<'PY'
import os, re
# The file boundary: the records themselves, their files and bridges, the
# input forms, the readers of their tables and the confirmations that fill
# the records, the workflows and the front ends that hold them.
boundary = re.compile(r'^src/(app|cli|workflow)/|_(network|network_layout|file|model_record|workflow|output_files)\.(h|cpp)$'
                      r'|/(plane|height)_input_|_confirmation_|plane_name_list|plane_form_settings|height_side_file|traverse_record'
                      r'|plane_(distance_lines|duplicate_checks|observation_tables|point_tables|side_forming)\.cpp$')
records = {'src/plane/plane_network.h', 'src/height/height_network.h'}
includes = {}
for root, _, files in os.walk('src'):
    for f in files:
        if f.endswith(('.h', '.cpp')):
            p = os.path.join(root, f)
            includes[p] = ['src/' + m for m in re.findall(r'#include "([^"]+)"', open(p, encoding='utf-8', errors='replace').read())]
def seeing(targets):
    seen = {}
    def sees(p, stack=()):
        if p in targets: return True
        if p in seen: return seen[p]
        if p in stack: return False
        seen[p] = any(sees(q, stack + (p,)) for q in includes.get(p, []))
        return seen[p]
    return sees
sees = seeing(records)
inside = sorted(p for p in includes if not boundary.search(p) and p not in records and sees(p))
print(f"record seen by computing/report/statistics/drawing files: {len(inside)}")
for p in inside: print("  " + p)
# The computations answer with data and leave the user to their callers; the
# report writers, which create and close their files, are boundary as well.
sees = seeing({'src/common/platform_services.h'})
# The coordinate tools' arithmetic is in their *_computation files; the
# table-line messages belong to the input forms.
computing = re.compile(r'^src/(plane|height|adjustment|statistics|geodesy|exchange)/|^src/tools/\w+_computation\.')
inside = sorted(p for p in includes if computing.search(p) and not boundary.search(p)
                and not re.search(r'_raw_report\.(h|cpp)$|/plane_table_lines\.h$', p) and sees(p))
print(f"computing files seeing the platform: {len(inside)}")
for p in inside: print("  " + p)
PY
