#!/usr/bin/env bash
# Builds and starts the program on the embedded databases. On the first start
# it creates a demo installation in $BRENMOOR_HOME (default ~/Brenmoor) with
# the administrator "admin" / "admin1234".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
HOME_DIR="${BRENMOOR_HOME:-$HOME/Brenmoor}"
if [ ! -f "$HOME_DIR/Bin/Pginfo.Ini" ]; then
  # The documented demo password goes through a pipe, not the command line.
  printf '%s\n' admin1234 | build/src/fitrova --init --demo --admin-id admin --admin-password-file -
fi
exec build/src/fitrova "$@"
