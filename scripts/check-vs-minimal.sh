#!/bin/bash
# The checker side by side with the least a checker has to do
# (bench/reference/minimal_check.cpp): both read the same generated ticket set
# and draw and must write the same JSON; then instructions (callgrind, when
# valgrind is there), time and peak memory of each, and the checker's ratio.
# Not part of the tests: run it on demand on a quiet machine.
#
#   scripts/check-vs-minimal.sh [BUILD_DIR] [TICKETS]    (defaults: build, 100000)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
count=${2:-100000}
cmake --build "$build" --target zhrebikon-check zhr_minimal_check >/dev/null
check=$build/src/zhrebikon-check
minimal=$build/bench/zhr_minimal_check
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A set of tickets laid out as printed tickets are, and two draws: 75 numbers
# (a usual game) and all 90 (every ticket ends with a whole card).
python3 - "$count" "$work" <<'PY'
import random, sys
n, work = int(sys.argv[1]), sys.argv[2]
r = random.Random(5)
def ticket():
    used, rows = set(), []
    for _ in range(6):
        nums = []
        for c in sorted(r.sample(range(9), 5)):
            lo, hi = (1, 9) if c == 0 else ((80, 90) if c == 8 else (c * 10, c * 10 + 9))
            while True:
                k = r.randint(lo, hi)
                if k not in used:
                    used.add(k); nums.append(k); break
        rows.append(nums)
    return rows
lines = ['Тираж1234', ' %d' % (n - 1)]
for t in range(n):
    lines.append(str(100000000 + t))
    for row in ticket():
        lines += [str(x) for x in row]
open(f'{work}/Тираж1234.rlb', 'wb').write(('\r\n'.join(lines) + '\r\n').encode('cp1251'))
order = list(range(1, 91)); r.shuffle(order)
for name, moves in (('usual', 75), ('full', 90)):
    text = 'Тираж1234\r\n ' + ', '.join(str(k) for k in order[:moves] + [93]) + '\r\n'
    open(f'{work}/{name}.rlt', 'wb').write(text.encode('cp1251'))
PY

cd "$work"
for draw in usual full; do
    "$check" --json Тираж1234.rlb $draw.rlt >check.json
    "$minimal" Тираж1234.rlb $draw.rlt >minimal.json
    if ! cmp -s check.json minimal.json; then
        echo "$draw: the two programs wrote different JSON" >&2
        exit 1
    fi
    echo "== $count tickets, $draw draw: same JSON ($(stat -c %s check.json) bytes)"
    for prog in check minimal; do
        exe=$check; args=(--json)
        [ $prog = minimal ] && exe=$minimal && args=()
        best=""
        for _ in 1 2 3 4 5; do
            t=$( { /usr/bin/time -f "%e %M" "$exe" "${args[@]}" Тираж1234.rlb $draw.rlt >/dev/null; } 2>&1 | tail -1)
            if [ -z "$best" ] || awk -v a="${t% *}" -v b="${best% *}" 'BEGIN{exit !(a<b)}'; then best=$t; fi
        done
        ir=""
        if command -v valgrind >/dev/null; then
            ir=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$exe" "${args[@]}" Тираж1234.rlb $draw.rlt \
                2>&1 >/dev/null | awk '/refs:/{gsub(",","",$4); print $4}')
        fi
        printf '%-8s best of 5: %5s s, peak %6.1f MiB, %s instructions\n' $prog "${best% *}" \
            "$(awk -v k="${best#* }" 'BEGIN{print k/1024}')" "${ir:-?}"
        eval "ir_$prog=${ir:-0}"
    done
    if [ "${ir_minimal:-0}" != 0 ]; then
        awk -v a="$ir_check" -v b="$ir_minimal" 'BEGIN{printf "checker / minimal: %.2f x instructions\n", a/b}'
    fi
done
