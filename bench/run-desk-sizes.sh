#!/usr/bin/env bash
# The desk figures at three centre sizes (300, 10,000 and 100,000 members),
# on SQLite and, when FITROVA_PG_HOST/PORT/USER are set, on PostgreSQL: the
# swipe with its screen work at 0/2,000/6,000 visits of the day, the member
# card and the gate panel (typical and heaviest member), start to the login
# window (bench_desk), and name and phone search, the member list with the
# common criteria and a new member (bench_members). Prints one table of
# medians, each figure beside its bare statements.
#
#   bench/run-desk-sizes.sh [build-dir]        (default: build)
#   DESK_SCALES="0.003 0.1 1"  the sizes, as FITROVA_BENCH_SCALE factors
#   FITROVA_BENCH_REPETITIONS  (1 here), and the programs' own settings
#
# A size whose centre is not in the cache is generated first (the full one
# takes long; see bench/README.md). The raw output of every run is kept in
# $DESK_OUT (default /tmp/desk-sizes); DESK_TABLE_ONLY=1 prints the table
# from it again without running anything.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
SCALES=${DESK_SCALES:-"0.003 0.1 1"}
OUT=${DESK_OUT:-/tmp/desk-sizes}
mkdir -p "$OUT"
export QT_QPA_PLATFORM=offscreen
export FITROVA_BENCH_REPETITIONS=${FITROVA_BENCH_REPETITIONS:-1}

# DESK_TABLE_ONLY=1: only the table, from the output already in $DESK_OUT.
for scale in $SCALES; do
  [ -n "${DESK_TABLE_ONLY:-}" ] && break
  for prog in bench_members bench_desk; do
    echo "== $prog at scale $scale" >&2
    FITROVA_BENCH_SCALE=$scale "$BUILD/bench/$prog" --benchmark_format=console \
      >"$OUT/$prog-$scale.txt" 2>"$OUT/$prog-$scale.err" || {
        echo "$prog at scale $scale failed; see $OUT/$prog-$scale.err" >&2
        exit 1
      }
  done
done

python3 - "$OUT" $SCALES <<'EOF'
import sys
out, scales = sys.argv[1], sys.argv[2:]
# Summary lines: "figure/engine  samples  median  p99 [cpu] [ratio]x"
figures = {}   # (figure, engine, scale) -> (median, cpu or None)
order = []
for scale in scales:
    for prog in ('bench_members', 'bench_desk'):
        try:
            text = open(f'{out}/{prog}-{scale}.txt', encoding='utf-8').read()
        except OSError:
            continue
        summary = text[text.rfind('\nfigure'):] if '\nfigure' in text else ''
        for l in summary.splitlines()[2:]:
            t = l.split()
            if len(t) < 4 or '/' not in t[0]:
                continue
            fig, engine = t[0].rsplit('/', 1)
            cpu = None
            if len(t) > 4 and not t[4].endswith('x') and t[4] != '-' and not fig.endswith('-unpainted'):
                cpu = float(t[4])
            figures[(fig, engine, scale)] = (float(t[2]), cpu)
            if fig not in order and not fig.endswith('-bare'):
                order.append(fig)
engines = [e for e in ('sqlite', 'postgres') if any(k[1] == e for k in figures)]
members = {'0.003': '300', '0.1': '10,000', '1': '100,000'}
cols = [(s, e) for s in scales for e in engines]
head = ['figure: median ms (bare) [cpu ms]'] + [f'{members.get(s, s)} {e}' for s, e in cols]
def cell(fig, e, s):
    v = figures.get((fig, e, s))
    if v is None:
        return ''
    b = figures.get((fig + '-bare', e, s))
    text = f'{v[0]:.2f}' + ('' if b is None else f' ({b[0]:.2f})')
    return text + ('' if v[1] is None or fig.endswith('-bare') else f' [{v[1]:.2f}]')
rows = [[fig] + [cell(fig, e, s) for s, e in cols] for fig in order]
for fig in sorted({k[0] for k in figures if k[0].startswith('visits-whole')}):
    rows.append([fig] + [cell(fig, e, s) for s, e in cols])
widths = [max(len(r[i]) for r in [head] + rows) for i in range(len(head))]
fmt = lambda r: '| ' + ' | '.join(c.ljust(widths[i]) if i == 0 else c.rjust(widths[i]) for i, c in enumerate(r)) + ' |'
print(fmt(head))
print('|' + '|'.join('-' * (w + 2) for w in widths) + '|')
for r in rows:
    print(fmt(r))
EOF
