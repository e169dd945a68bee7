#!/usr/bin/env bash
# Installs the Debian package built in BUILD_DIR (default build), runs both
# programs from it, validates it with desktop-file-validate and lintian, purges
# it and checks that nothing of it is left. Needs root or sudo; installs what
# it needs itself.
#   packaging/check_package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

fail() { echo "check_package: $*" >&2; exit 1; }
step() { echo "== $*"; }

shopt -s nullglob
debs=("$build_dir"/quorvexplus_*.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || fail "expected one $build_dir/quorvexplus_*.deb, found ${#debs[@]}"
deb=$(realpath "${debs[0]}")

missing=()
for p in lintian desktop-file-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "installing ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

step "lintian $(basename "$deb")"
lintian --fail-on error --tag-display-limit 0 "$deb"

installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | sed -n 's/^ii  //p' | sort; }
files=$(mktemp)
before=$(mktemp)
tmp=$(mktemp -d)
trap 'rm -rf "$files" "$before" "$tmp"' EXIT
installed > "$before"

step "installing the package"
$sudo apt-get install -y -qq --no-install-recommends --reinstall "$deb" >/dev/null
dpkg -L quorvexplus > "$files"

for f in /usr/bin/quorvex /usr/bin/quorvex-gui /usr/share/applications/quorvexplus.desktop \
         /usr/share/mime/packages/quorvexplus.xml /usr/share/quorvexplus/QuorvexPlusSay.html \
         /usr/share/icons/hicolor/scalable/apps/quorvexplus.svg \
         /usr/share/icons/hicolor/48x48/apps/quorvexplus.png \
         /usr/share/man/man1/quorvex.1.gz /usr/share/man/man1/quorvex-gui.1.gz \
         /usr/share/doc/quorvexplus/copyright /usr/share/doc/quorvexplus/QuorvexPlusSay.html; do
  grep -qx "$f" "$files" || fail "the package lacks $f"
done
[ -e /usr/share/doc/quorvexplus/QuorvexPlusSay.html ] || fail "the help document link is broken"

step "running the installed programs"
quorvex --version
QT_QPA_PLATFORM=offscreen quorvex-gui --version
examples=/usr/share/doc/quorvexplus/examples
(cd "$tmp" && quorvex plane "$tmp/DEMO.NAP" --input "$examples/plane/triangulation.txt" --yes)
[ -s "$tmp/DEMO.txt" ] || fail "no report $tmp/DEMO.txt"
quorvex draw "$tmp/DEMO.NAP" --kind 1 --pdf "$tmp/DEMO.pdf"
[ -s "$tmp/DEMO.pdf" ] || fail "no picture $tmp/DEMO.pdf"
desktop-file-validate /usr/share/applications/quorvexplus.desktop
grep -q 'x-quorvex-plane-network' /usr/share/mime/globs2 2>/dev/null || [ ! -e /usr/share/mime/globs2 ] ||
  fail "the data-file types are not in the MIME database"

step "purging the package"
$sudo apt-get purge -y -qq quorvexplus >/dev/null
# What the package pulled in goes too, leaving the machine as it was.
pulled_in=$(installed | comm -13 "$before" -)
if [ -n "$pulled_in" ]; then
  echo "removing what it pulled in:" $pulled_in
  $sudo apt-get purge -y -qq $pulled_in >/dev/null
fi
left=0
while IFS= read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    # A folder stays when another package owns it or it still holds files.
    if [ -z "$(ls -A "$path")" ] && ! dpkg -S "$path" >/dev/null 2>&1; then
      echo "left behind: empty folder $path" >&2; left=1
    fi
  elif [ -e "$path" ] || [ -L "$path" ]; then
    echo "left behind: $path" >&2; left=1
  fi
done < "$files"
if leftovers=$(grep -rl quorvex /usr/share/mime /usr/share/applications 2>/dev/null); then
  echo "left behind in the desktop's caches:" $leftovers >&2; left=1
fi
[ $left -eq 0 ] || fail "the purge left files of the package"
echo "check_package: $(basename "$deb") installs, runs, validates and purges cleanly ($(wc -l < "$files") paths)"
