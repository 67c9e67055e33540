#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR; Ninja, two jobs: the machines have two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# ccache: paths relative to the checkout (several checkouts share hits), and
# the precompiled headers accepted.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-8G}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
cmake --build "$BUILD_DIR" -j"${JOBS:-2}"
