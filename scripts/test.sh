#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless under Xvfb.
# The picture-corpus tests also run in a second build with AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test

jobs="$(nproc)"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DLF_SANITIZE=ON -DLF_CORE_ONLY=ON \
      -DLF_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs" --target lf_core_tests

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLF_SANITIZED_CORE_TESTS="$PWD/build-sanitize/tests/lf_core_tests" >/dev/null
cmake --build build -j"$jobs"

export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
cd build
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j"$jobs"
