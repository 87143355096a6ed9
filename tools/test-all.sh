#!/usr/bin/env bash
# Installs what the build and tests need, builds veskaro (plain, with
# AddressSanitizer + UBSan, and as the Release build packagers make) and
# runs every test, the format and lint checks and the end-to-end runs.
# Every build here treats compiler warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" = 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    cmake ninja-build g++ clang clang-format clang-tidy libgtest-dev \
    libgmock-dev libx11-dev libxtst-dev xvfb xdotool imagemagick x11-apps \
    ghostscript groff-base man-db libclang-rt-14-dev pkg-config \
    libcairo2-dev poppler-utils librsvg2-bin >/dev/null
  # ImageMagick's `import` always writes PostScript; Debian forbids it.
  for policy in /etc/ImageMagick-6/policy.xml; do
    if [ -f "$policy" ]; then
      sed -i -E 's/rights="none" (pattern="(PS|PS2|PS3|EPS)")/rights="read|write" \1/' "$policy"
    fi
  done
fi

jobs=$(nproc)
werror=-DVESKARO_WERROR=ON
export VESKARO_WERROR=ON  # tools/fuzz.sh passes it to its build

echo "== format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== build"
# Tests on explicitly: tools/setup.sh configures the same folder without.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVESKARO_TESTS=ON "$werror" >/dev/null
cmake --build build -j "$jobs"

echo "== lint"
git ls-files 'core/*.cpp' 'device/*.cpp' 'programs/*.cpp' |
  xargs -P "$jobs" -n 4 clang-tidy -p build --quiet 2>/dev/null

echo "== tests"
ctest --test-dir build -j "$jobs" --output-on-failure

echo "== tests with AddressSanitizer and UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVESKARO_SANITIZE=ON "$werror" >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan -j "$jobs" --output-on-failure

echo "== Release build (-O3): unit tests and batch end-to-end runs"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release "$werror" \
  >/dev/null
cmake --build build-release -j "$jobs"
# The window tests ran in the first build; they test the X11 device, not
# the optimiser, and take most of the time.
ctest --test-dir build-release -j "$jobs" --output-on-failure \
  -E '^e2e_(x11|menu)_'

echo "== threaded reading under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVESKARO_X11=OFF -DCMAKE_CXX_FLAGS=-fsanitize=thread \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread "$werror" >/dev/null
cmake --build build-tsan -j "$jobs" --target veskaro_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/veskaro_tests \
  --gtest_filter='WorkerPool*:BulkRead*:UnderTest*'

echo "== fuzzing (60 s per input file)"
bash tools/fuzz.sh 60
