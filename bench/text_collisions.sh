#!/usr/bin/env bash
# The overprinting texts of every example network on every diagram kind:
# computes each example of examples/plane and examples/height with quorvex,
# writes the .vec of each kind with `quorvex draw --kind K` and counts the
# colliding text pairs with text_collisions (built with -DQUORVEX_BUILD_BENCH=ON).
#   bench/text_collisions.sh [QUORVEX] [TEXT_COLLISIONS] [--pairs] [--declutter]
# With ARRANGE=1 in the environment each kind is arranged first
# (`quorvex arrange --kind K`, "注记整理"), so the figures are those after it
# (bench/text_collisions_arranged.txt). --declutter turns the display option
# "注记避让" on for every example before it is drawn.
# Examples whose computation fails are not drawn.
set -euo pipefail
cd "$(dirname "$0")/.."
quorvex=${1:-build/src/cli/quorvex}
counter=${2:-build-bench/bench/text_collisions}
pairs=
declutter=0
for option in "${@:3}"; do
  case $option in
    --pairs) pairs=--pairs ;;
    --declutter) declutter=1 ;;
    *) echo "unknown option $option" >&2; exit 2 ;;
  esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[设置]\n注记避让 = 1\n' >"$work/declutter.txt"
total=0
for kind in plane:8:NAP height:4:NAH; do
  IFS=: read -r folder kinds ext <<<"$kind"
  for example in examples/$folder/*.txt; do
    name=$(basename "$example" .txt)
    data=$work/$name.$ext
    if ! SOURCE_DATE_EPOCH=1767225600 "$quorvex" "$folder" "$data" --input "$example" --yes >/dev/null 2>&1; then
      echo "$folder/$name: not computed"
      continue
    fi
    if ((declutter)); then
      "$quorvex" display "$data" --input "$work/declutter.txt" --yes >/dev/null 2>&1 || echo "$folder/$name: declutter not set"
    fi
    for ((k = 0; k < kinds; k++)); do
      if [[ ${ARRANGE:-0} == 1 ]]; then
        "$quorvex" arrange "$data" --kind "$k" >/dev/null 2>&1 || echo "$folder/$name kind $k: not arranged"
      fi
      "$quorvex" draw "$data" --kind "$k" >/dev/null 2>&1 || { echo "$folder/$name kind $k: not drawn"; continue; }
      line=$("$counter" $pairs "$work/$name.vec" | sed "s|$work/$name.vec|$folder/$name kind $k|")
      echo "$line"
      n=$(echo "$line" | tail -n 1 | sed -n 's/.* \([0-9]*\) pairs$/\1/p')
      total=$((total + ${n:-0}))
    done
  done
done
echo "total $total pairs"
