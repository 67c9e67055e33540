#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Idempotent; run as root (or through sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y \
  cmake ninja-build ccache g++ pkgconf googletest libgtest-dev libbenchmark-dev \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql \
  qt6-charts-dev qt6-serialport-dev qt6-multimedia-dev qt6-translations-l10n qt6-qpa-plugins \
  libicu-dev libxlsxwriter-dev libsodium-dev sqlite3 libsqlite3-dev libpq-dev fonts-nanum fonts-noto-cjk \
  postgresql postgresql-client xvfb xauth xdotool imagemagick socat poppler-utils strace
echo "install-deps: done"
