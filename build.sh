#!/usr/bin/env bash
# QuorvexPlus developer entry point.
#   ./build.sh example   install what is missing, build, run the bundled example network
#   ./build.sh test      install what is missing, build and run the whole test suite,
#                        then again under AddressSanitizer and UndefinedBehaviorSanitizer,
#                        then every fuzz harness for a short while (tests/fuzz/run.sh)
#   ./build.sh package   install what is missing, build, make the Debian package build/quorvexplus_*.deb
#                        and check it: install, run, lintian, purge (packaging/check_package.sh)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev libboost-math-dev proj-bin libproj-dev libopenblas-dev liblapacke-dev qt6-base-dev qt6-qpa-plugins fonts-wqy-microhei libdxflib-dev libcairo2-dev fonts-arphic-uming qt6-translations-l10n fonts-wqy-zenhei clang libclang-rt-dev librsvg2-bin)
JOBS=${JOBS:-$(nproc)}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # build <dir> [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

run_tests() {  # run_tests <dir>
  (cd "$1" && TZ=UTC ctest --output-on-failure -j "$JOBS")
}

case "${1:-}" in
  example)
    install_packages
    build build
    out=build/example
    rm -rf "$out" && mkdir -p "$out"
    set -x
    build/src/cli/quorvex plane "$out/DEMO.NAP" --input examples/plane/triangulation.txt
    set +x
    ls -l "$out"
    ;;
  test)
    install_packages
    build build
    run_tests build
    build build-sanitize -DQUORVEX_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp run_tests build-sanitize
    JOBS=$JOBS tests/fuzz/run.sh
    ;;
  package)
    install_packages
    build build
    rm -f build/quorvexplus_*.deb
    (cd build && cpack -G DEB)
    packaging/check_package.sh build
    ;;
  *)
    echo "usage: $0 example|test|package" >&2
    exit 2
    ;;
esac
