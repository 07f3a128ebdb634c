# Shared by scripts/run and scripts/test: set up the machine, configure once, build what changed.
# Arguments are build targets (none = everything).  The build folder is ./build unless
# TESS_BUILD_DIR names another; TESS_CMAKE_ARGS are added when it is first configured.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESS_BUILD_DIR:-$ROOT/build}"
# The compiler cache keys on paths relative to the checkout, so a fresh clone elsewhere reuses it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$ROOT}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
bash "$ROOT/scripts/setup"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja ${TESS_CMAKE_ARGS:-} >/dev/null
fi
cmake --build "$BUILD" -- -j"$(nproc)" "$@"
