#!/usr/bin/env bash
# Measures how quiet a large chorus is between its chirps: runs the program with sixteen
# never-disturbed crickets at full volume under Xvfb with SDL's disk driver, captures the sound,
# and prints the peak, the median and the quietest 50 ms windows (RMS of both channels, dBFS).
# Usage: tools/measure-chorus-floor.sh [seconds, default 60] [executable, default build/kirorin]
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
source "$root/tests/e2e/lib.sh"
e2e_setup "${2:-$root/build/kirorin}"

write_settings 1000 0 16 100 0 0 0 23 59
start_program chorus
wait_capture "$seconds"
stop_program "$PID_chorus"

python3 - "$SDL_DISKAUDIOFILE" "$seconds" <<'EOF'
import array, math, sys
samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
samples = samples[: int(sys.argv[2]) * 48000 * 2]
peak = max(map(abs, samples))
window = 48000 // 20 * 2  # 50 ms of stereo samples
levels = []
for start in range(0, len(samples) - window + 1, window):
    energy = sum(s * s for s in samples[start : start + window])
    rms = math.sqrt(energy / window) / 32768
    levels.append(20 * math.log10(rms) if rms > 0 else -math.inf)
first = next(i for i, v in enumerate(levels) if v > -math.inf)  # the chorus has begun
levels = sorted(levels[first:])
db = lambda v: "-inf (digital silence)" if v == -math.inf else f"{v:.1f} dBFS"
print(f"peak {20 * math.log10(peak / 32768):.1f} dBFS over {len(levels)} windows of 50 ms")
print(f"median window {db(levels[len(levels) // 2])}")
for name, i in (("quietest", 0), ("1st percentile", len(levels) // 100),
                ("5th percentile", len(levels) // 20)):
    print(f"{name} window {db(levels[i])}")
silent = sum(v == -math.inf for v in levels)
sounding = [v for v in levels if v > -math.inf]
print(f"quietest sounding window {db(sounding[0])}, {20 * math.log10(peak / 32768) - sounding[0]:.1f} dB below the peak")
print(f"{silent} of {len(levels)} windows are digital silence")
EOF
