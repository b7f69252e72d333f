#!/usr/bin/env bash
# Draws the spectrograms of the two chirp recordings (WAVE 129 and 130) with sox.
# Usage: tools/spectrograms.sh [output folder, default docs/images] [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/images}
build=${2:-$root/build}
command -v sox >/dev/null || { echo "sox is missing (tools/install-deps.sh test)" >&2; exit 1; }
mkdir -p "$out"
for number in 129 130; do
    wave="$build/res/$number.wav"
    [[ -f "$wave" ]] || { echo "$wave is missing: build first (cmake --build --preset default)" >&2; exit 1; }
    # One channel is enough: both channels of 129 carry the same signal.
    sox "$wave" -n remix 1 spectrogram -x 400 -y 160 -z 60 \
        -t "WAVE $number: $(soxi -r "$wave") Hz, $(soxi -c "$wave") ch, $(soxi -d "$wave") s" \
        -o "$out/spectrogram-$number.png"
    echo "$out/spectrogram-$number.png"
done
