#!/usr/bin/env bash
# Installs the Debian packages Quillon needs (only those missing), builds, and then
#   run       starts the program
#   test      runs every test
#   sanitize  runs every test in a build with AddressSanitizer and UndefinedBehaviorSanitizer
#   bench     builds the benchmarks and runs them for a moment
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libmpv-dev ffmpeg
  xvfb xauth
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages every command needs, and the extra ones given.
install_missing() {
  local missing=()
  for package in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  # The package lists are fetched once per machine start, however many commands install.
  local updated=/tmp/quillon-apt-lists-updated
  if [ ! -e "$updated" ]; then
    as_root apt-get update
    touch "$updated"
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}

run_tests() {
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure --parallel "$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    build build
    exec ./build/app/quillon
    ;;
  test)
    install_missing
    build build
    run_tests build
    ;;
  sanitize)
    install_missing
    build build-sanitize -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
      run_tests build-sanitize
    ;;
  bench)
    install_missing
    build build
    ./build/bench/quillon_bench --benchmark_min_time=0.01
    ;;
  *)
    echo "usage: $0 run|test|sanitize|bench" >&2
    exit 2
    ;;
esac
