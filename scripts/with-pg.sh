#!/usr/bin/env bash
# Runs a command against a throwaway PostgreSQL cluster on loopback:
#   scripts/with-pg.sh build/tests/tst_enrollment
#   scripts/with-pg.sh ctest --test-dir build -R tst_lockers
# The command sees FITROVA_TEST_ENGINE=postgres and FITROVA_PG_HOST/PORT/USER;
# the cluster is removed afterwards.
set -euo pipefail
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
port=$((55000 + RANDOM % 5000))
while (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
PGUSER_NAME=$("${AS[@]}" id -un)
"${AS[@]}" "$PGBIN/initdb" -D "$PGDIR/data" -E UTF8 --locale=C.UTF-8 -A trust -U "$PGUSER_NAME" >"$PGDIR/initdb.log" 2>&1 \
  || { cat "$PGDIR/initdb.log"; exit 1; }
"${AS[@]}" "$PGBIN/pg_ctl" -D "$PGDIR/data" -l "$PGDIR/server.log" -w \
  -o "-p $port -k $PGDIR -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
  start >/dev/null || { cat "$PGDIR/server.log"; exit 1; }
FITROVA_TEST_ENGINE=postgres FITROVA_PG_HOST=127.0.0.1 FITROVA_PG_PORT=$port FITROVA_PG_USER="$PGUSER_NAME" \
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$@"
