#!/usr/bin/env bash
# Runs every bundled example through the command-line driver into one folder:
# data files, reports, statistics reports, side files, vector files and the
# SVG and DXF pictures of every diagram kind, and every message and exit
# status. Two snapshots of different builds compare byte for byte with
# `diff -r`, which is how a refactoring shows that nothing a user sees moved.
#   bench/output_snapshot.sh BUILD/src/cli/quorvex OUT
set -uo pipefail
quorvex=$(realpath "$1")
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out" && mkdir -p "$out"
out=$(realpath "$out")
export TZ=UTC SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600} HOME=$out
log=$out/messages.txt

run() {  # run <label> args...
  local label=$1; shift
  { echo "== $label: $*"; (cd "$out" && "$quorvex" "$@" 2>&1); echo "exit $?"; } >>"$log"
}

draw_all() {  # draw_all <file> <kinds>
  local file=$1 kinds=$2 stem=${1%.*}
  for k in $(seq 0 "$kinds"); do
    run "draw $file $k" draw "$file" --kind "$k" --svg "$stem.k$k.svg" --dxf "$stem.k$k.dxf"
    [ -f "$out/$stem.vec" ] && mv "$out/$stem.vec" "$out/$stem.k$k.vec"
  done
}

for f in "$root"/examples/plane/*.txt; do
  n=$(basename "$f" .txt)
  run "plane $n" plane "P_$n.NAP" --input "$f" --yes
  [ -f "$out/P_$n.NAP" ] && draw_all "P_$n.NAP" 7
  [ -f "$out/P_$n.NAP" ] && run "plane dump $n" plane "P_$n.NAP" --dump
done
for f in "$root"/examples/height/*.txt; do
  n=$(basename "$f" .txt)
  run "height $n" height "H_$n.NAH" --input "$f" --yes
  [ -f "$out/H_$n.NAH" ] && draw_all "H_$n.NAH" 3
  [ -f "$out/H_$n.NAH" ] && run "height dump $n" height "H_$n.NAH" --dump
done
for t in zone:zone_54:GST zone:zone_80:GST transform:transform:TRS transform:transform_80_to_2000:TRS local:local_to_independent:SLT local:local_to_national:SLT; do
  IFS=: read -r cmd n ext <<<"$t"
  run "$cmd $n" "$cmd" "T_$n.$ext" --input "$root/examples/tools/$n.txt" --yes
done
for f in "$root"/examples/exercise/*.txt; do
  n=$(basename "$f" .txt)
  for s in 1 2; do run "exercise $n $s" exercise "E_$n.STY" --input "$f" --show "$s"; done
done
echo "snapshot: $(find "$out" -type f | wc -l) files in $out"
