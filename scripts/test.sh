#!/usr/bin/env bash
# Builds and runs every test on SQLite, then starts a throwaway PostgreSQL
# cluster on loopback and runs the database tests again on it. The cluster is
# stopped and removed at the end, also when tests fail.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
export BUILD_DIR=${BUILD_DIR:-build}
scripts/build.sh

echo "=== tests on SQLite ==="
sqlite_rc=0
(cd "$BUILD_DIR" && FITROVA_TEST_ENGINE=sqlite ctest --output-on-failure -j2 --timeout 900) || sqlite_rc=$?

echo "=== tests on PostgreSQL ==="
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$PGBIN/initdb" ] || { echo "PostgreSQL server binaries not found (run scripts/install-deps.sh)"; exit 1; }
PGDIR=$(mktemp -d /tmp/fitrova-pg.XXXXXX)
AS=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres:postgres "$PGDIR"
  AS=(runuser -u postgres --)
fi
cleanup() {
  "${AS[@]}" "$PGBIN/pg_ctl" -D "$PGDIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$PGDIR"
}
trap cleanup EXIT
[ -n "${KEEP_PG:-}" ] && trap - EXIT
port=54329
while (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
PGUSER_NAME=$("${AS[@]}" id -un)
"${AS[@]}" "$PGBIN/initdb" -D "$PGDIR/data" -E UTF8 --locale=C.UTF-8 -A trust -U "$PGUSER_NAME" >"$PGDIR/initdb.log" 2>&1 \
  || { cat "$PGDIR/initdb.log"; exit 1; }
"${AS[@]}" "$PGBIN/pg_ctl" -D "$PGDIR/data" -l "$PGDIR/server.log" -w \
  -o "-p $port -k $PGDIR -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
  start >/dev/null || { cat "$PGDIR/server.log"; exit 1; }
pg_rc=0
(cd "$BUILD_DIR" && FITROVA_TEST_ENGINE=postgres FITROVA_PG_HOST=127.0.0.1 FITROVA_PG_PORT=$port FITROVA_PG_USER="$PGUSER_NAME" \
  ctest --output-on-failure -j2 -L db --timeout 900) || pg_rc=$?

if [ "$sqlite_rc" -ne 0 ] || [ "$pg_rc" -ne 0 ]; then
  echo "FAILED: sqlite=$sqlite_rc postgres=$pg_rc"
  exit 1
fi
echo "all tests passed on SQLite and PostgreSQL"
