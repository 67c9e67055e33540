#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR; Ninja, two jobs: the machines have two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# ccache: paths relative to the checkout, so several checkouts share hits.
# No precompiled headers: a .gch is not reproducible (it holds addresses), so
# objects built on it never hit the cache, and a .gch served from the cache to
# another checkout sent GCC past 14 GB on one file.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-time_macros,include_file_mtime,include_file_ctime}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-8G}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
cmake --build "$BUILD_DIR" -j"${JOBS:-2}"
