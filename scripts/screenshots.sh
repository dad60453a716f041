#!/usr/bin/env bash
# Builds the program and takes the README's screenshots of it (docs/*.png)
# on a display of its own; run it again whenever the window changes.
#
#   scripts/screenshots.sh [OUT_DIR]     (default: docs)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target loopforge
/usr/bin/python3 scripts/screenshots.py build/stage "${1:-docs}"
