#!/usr/bin/env bash
# Makes the ticket reader's digit model from the typefaces Debian ships and
# writes it into the sources (src/scan/DigitModelData.inc), where the build
# embeds it in the program. The model is drawn from a fixed seed: the same
# typefaces give the same model.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/ensure-deps.sh"
zhr_ensure_packages "${ZHR_BUILD_PACKAGES[@]}" "${ZHR_SCAN_MODEL_FONTS[@]}"

build="${ZHR_BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --target zhr_scan_model -j"$(nproc)"
"$build/tests/scangen/zhr_scan_model" "$here/src/scan/DigitModelData.inc"
