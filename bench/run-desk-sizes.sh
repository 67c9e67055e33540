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
# $DESK_OUT (default /tmp/desk-sizes).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
SCALES=${DESK_SCALES:-"0.003 0.1 1"}
OUT=${DESK_OUT:-/tmp/desk-sizes}
mkdir -p "$OUT"
export QT_QPA_PLATFORM=offscreen
export FITROVA_BENCH_REPETITIONS=${FITROVA_BENCH_REPETITIONS:-1}

for scale in $SCALES; do
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
import re, sys
out, scales = sys.argv[1], sys.argv[2:]
# Summary lines: "figure/engine  samples  median  p99 [cpu] [ratio]x"
line = re.compile(r'^(\S+)/(sqlite|postgres)\s+\d+\s+([\d.]+)\s+([\d.]+)')
figures = {}   # (figure, engine, scale) -> median
order = []
for scale in scales:
    for prog in ('bench_members', 'bench_desk'):
        try:
            text = open(f'{out}/{prog}-{scale}.txt', encoding='utf-8').read()
        except OSError:
            continue
        summary = text[text.rfind('\nfigure'):] if '\nfigure' in text else ''
        for l in summary.splitlines():
            m = line.match(l)
            if not m:
                continue
            fig, engine, median = m.group(1), m.group(2), float(m.group(3))
            figures[(fig, engine, scale)] = median
            if fig not in order and not fig.endswith('-bare'):
                order.append(fig)
engines = [e for e in ('sqlite', 'postgres') if any(k[1] == e for k in figures)]
members = {'0.003': '300', '0.1': '10,000', '1': '100,000'}
cols = [(s, e) for s in scales for e in engines]
head = ['figure (median ms, bare in brackets)'] + [f'{members.get(s, s)} {e}' for s, e in cols]
rows = []
for fig in order:
    cells = [fig]
    for s, e in cols:
        v = figures.get((fig, e, s))
        b = figures.get((fig + '-bare', e, s))
        cells.append('' if v is None else f'{v:.2f}' + ('' if b is None else f' ({b:.2f})'))
    rows.append(cells)
for fig in sorted({k[0] for k in figures if k[0].startswith('visits-whole')}):
    rows.append([fig] + [('' if figures.get((fig, e, s)) is None else f'{figures[(fig, e, s)]:.2f}') for s, e in cols])
widths = [max(len(r[i]) for r in [head] + rows) for i in range(len(head))]
fmt = lambda r: '| ' + ' | '.join(c.ljust(widths[i]) if i == 0 else c.rjust(widths[i]) for i, c in enumerate(r)) + ' |'
print(fmt(head))
print('|' + '|'.join('-' * (w + 2) for w in widths) + '|')
for r in rows:
    print(fmt(r))
EOF
