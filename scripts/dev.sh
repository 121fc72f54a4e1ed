#!/usr/bin/env bash
# Installs the Debian packages Quillon needs (only those missing), builds, and then
#   run       starts the program
#   test      runs every test
#   sanitize  runs every test in a build with AddressSanitizer and UndefinedBehaviorSanitizer
#   bench     builds the benchmarks (with the OpenCV yardsticks) and runs them for a moment
#   report    builds the benchmarks, runs them in full and writes docs/performance.md
#   package   builds a release in build-pkg and makes the Debian package build-pkg/quillon_*.deb
#   fuzz [s]  builds the libFuzzer targets with clang in build-fuzz and runs each for s seconds (60)
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6 fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libmpv-dev libhwy-dev ffmpeg
  xvfb xauth
  librsvg2-bin desktop-file-utils appstream python3
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

# The fuzz targets, built with clang under AddressSanitizer and UndefinedBehaviorSanitizer.
# Each runs on a copy of its seed corpus, so the corpus in the repository stays small; a
# crash, leak, hang or sanitizer report fails the command.
FUZZ_TARGETS=(engine_operations_fuzzer picture_loader_fuzzer fx_arguments_fuzzer)

build_fuzz_targets() {
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_FUZZ=ON \
    -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-fuzz --parallel "$(nproc)" --target "${FUZZ_TARGETS[@]}"
}

run_fuzz_target() {
  local target=$1 seconds=$2 corpus=build-fuzz/corpus/$1
  rm -rf "$corpus" && mkdir -p "$corpus" build-fuzz/crashes
  cp fuzz/corpus/"${target%_fuzzer}"/* "$corpus"/
  echo "Fuzzing $target for $seconds s"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$target-" "$corpus"
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
    # OpenCV is the benchmarks' yardstick; they build without it too.
    install_missing libopencv-dev
    build build
    ./build/bench/quillon_bench --benchmark_min_time=0.01
    ;;
  report)
    # python3 formats the report; take it on a quiet machine (it runs some minutes).
    install_missing libopencv-dev python3
    build build
    bench/report build/bench/quillon_bench
    ;;
  package)
    # dpkg-shlibdeps (dpkg-dev) and file work out the package's dependencies.
    install_missing dpkg-dev file
    # Installed under /usr, where the about box says the guide and the licence are.
    build build-pkg -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr
    rm -f build-pkg/quillon_*.deb
    (cd build-pkg && cpack -G DEB)
    ;;
  fuzz)
    install_missing clang libclang-rt-14-dev
    build_fuzz_targets
    for target in "${FUZZ_TARGETS[@]}"; do run_fuzz_target "$target" "${2:-60}"; done
    ;;
  *)
    echo "usage: $0 run|test|sanitize|bench|report|package|fuzz [seconds]" >&2
    exit 2
    ;;
esac
