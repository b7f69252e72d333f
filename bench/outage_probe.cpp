// Ticks sixteen crickets every 10 ms through the real sound output (SDL, whatever driver it
// picks) for the given seconds, and writes one line per tick: the wall-clock time in seconds,
// how long the tick took in microseconds and how many voices play. bench/measure-outage.sh
// reads it.
#include "app/CChorusApp.h"
#include "cricket/CCricket.h"
#include "cricket/CTwister.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    CSoundDevice device;
    CWaveResource wave;
    if (!device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16) || !wave.OpenResource(129)) {
        std::fprintf(stderr, "outage_probe: no sound device or wave\n");
        return 1;
    }
    TheApp().settings = ChorusSettings{};
    TheApp().settings.wariness = 1;
    TheApp().settings.cricketCount = 16;
    theTwister.Seed(1);
    std::array<CCricket, 16> crickets;
    for (CCricket& cricket : crickets) {
        if (!cricket.Attach(device, wave)) {
            std::fprintf(stderr, "outage_probe: a cricket has no voice\n");
            return 1;
        }
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    auto next = Clock::now();
    while (next < end) {
        next += std::chrono::milliseconds(10);
        std::this_thread::sleep_until(next);
        const auto start = Clock::now();
        for (CCricket& cricket : crickets) {
            cricket.Tick(0);
        }
        const auto took = Clock::now() - start;
        int playing = 0;
        for (CCricket& cricket : crickets) {
            playing += cricket.voice.IsPlaying();
        }
        const auto wall = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%.3f %lld %d\n", std::chrono::duration<double>(wall).count(),
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(took).count()),
                    playing);
    }
    return 0;
}
