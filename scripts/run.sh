#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DLF_BUILD_TESTS=OFF -DLF_BUILD_BENCH=OFF
exec build/stage/bin/loopforge
