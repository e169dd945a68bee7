#!/usr/bin/env bash
# The files the package installs beside the programs agree with the programs:
# every command and option of `quorvex --help` has its place in the manual
# page, the manual pages and the changelog carry the project's version, both
# programs print it, and the desktop entry names an icon and file types that
# the package provides.
#   package_files_test.sh QUORVEX QUORVEX_GUI PACKAGING_DIR VERSION
set -uo pipefail
quorvex=$1 gui=$2 dir=$3 version=$4
errors=0
fault() { echo "FAULT: $*" >&2; errors=$((errors + 1)); }

usage=$("$quorvex" --help) || fault "quorvex --help failed"
page=$dir/man/quorvex.1
commands=$(sed -n 's/^  quorvex \([a-z]\+\) .*/\1/p' <<< "$usage" | sort -u)
[ -n "$commands" ] || fault "no commands found in quorvex --help"
synopsis=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' "$page")
for c in $commands; do
  # A command is an entry of the COMMANDS section and appears in the synopsis.
  grep -qx "\.B $c" "$page" || fault "quorvex.1 has no entry for the command $c"
  grep -qw "$c" <<< "$synopsis" || fault "quorvex.1's synopsis lacks $c"
done
for o in $(grep -o -- '--[a-z]\+' <<< "$usage" | sort -u); do
  grep -qF -- "$(sed 's/-/\\-/g' <<< "$o")" "$page" || fault "quorvex.1 does not describe $o"
done

for p in quorvex.1 quorvex-gui.1; do
  grep -q "^\.TH .*\"QuorvexPlus $version\"" "$dir/man/$p" || fault "$p is not marked as version $version"
done
head -n1 "$dir/changelog" | grep -q "^quorvexplus ($version) " || fault "the changelog's last entry is not $version"
"$quorvex" --version | grep -q " $version\$" || fault "quorvex --version does not print $version"
"$gui" --version | grep -q "^quorvex-gui .* $version\$" || fault "quorvex-gui --version does not print $version"

desktop=$dir/quorvexplus.desktop
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$dir/icons/$icon.svg" ] || fault "the desktop entry's icon $icon is not in icons/"
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
  grep -q "<mime-type type=\"$type\">" "$dir/quorvexplus-mime.xml" || fault "the file type $type is not defined"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fault "desktop-file-validate refuses the desktop entry"
fi

[ $errors -eq 0 ] || exit 1
echo "package files agree with the programs (version $version)"
