#!/usr/bin/env bash
# Sets up, builds and starts Duvelin on the bundled default program folder.
# Extra arguments go to the program (for example --program-folder DIR).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="${DUVELIN_BUILD_DIR:-$root/build}"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$build/bin/duvelin" "$@"
