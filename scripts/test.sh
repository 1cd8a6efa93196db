#!/usr/bin/env bash
# Sets up, builds and runs every test (GoogleTest and Qt Test suites through ctest), with no
# display needed. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${DUVELIN_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
cd "$build"
ctest --output-on-failure -j2 --timeout 600
