#!/usr/bin/env bash
# Judges the ticket reader on pictures drawn in typefaces and decorations its
# model never saw, level by level: scans, ordinary photos, sheets of 2-4
# tickets, upside-down photos, small blurred ones and a phone's own
# 12-megapixel photos.
#   scripts/scan-eval.sh [COUNT]        COUNT pictures per level (default 100)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/ensure-deps.sh"
zhr_ensure_packages "${ZHR_BUILD_PACKAGES[@]}" "${ZHR_SCAN_EVAL_FONTS[@]}"

count="${1:-100}"
build="${ZHR_BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zhr_scan_eval -j"$(nproc)"
for level in scan photo sheet upside-down small-blurred phone; do
    QT_QPA_PLATFORM=offscreen nice "$build/tests/scangen/zhr_scan_eval" "$level" "$count" 50000
done
