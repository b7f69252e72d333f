// Cost of one chorus tick: sixteen crickets' Tick over a fake buffer and a fake clock that moves
// 10 ms per tick, so the crickets pass through silences, chirps, rests and new songs as they
// would in the program.
#include "app/CChorusApp.h"
#include "audio/OfflineOutput.h"
#include "cricket/CCricket.h"
#include "cricket/CTwister.h"
#include "platform/dsound/DirectSoundControl.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"
#include "testsupport/FakeClock.h"
#include "testsupport/FakeDirectSound.h"
#include "testsupport/WaveBuilder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr std::int64_t kTick = 10000000;

// The same chorus for every run: default settings, a fixed seed.
bool AttachAll(std::array<CCricket, 16>& crickets, CSoundDevice& device, CWaveResource& wave) {
    TheApp().settings = ChorusSettings{};
    theTwister.Seed(1);
    for (CCricket& cricket : crickets) {
        if (!cricket.Attach(device, wave)) {
            return false;
        }
    }
    return true;
}

void SixteenCricketsTick(benchmark::State& state) {
    const bool disturbedEvery7s = state.range(0) != 0;
    FakeClock clock;
    clock.nanoseconds = 100 * FakeClock::kNanosecondsPerSecond;
    FakeDirectSound directSound(clock);
    CSoundDevice device;
    device.device = DsPtr<IDirectSound>(&directSound);
    // A silent mono 16-bit wave as long as the chirp.
    using namespace wavetest;
    const Bytes bytes = Riff(Fmt(1, 1, 11025, 16) + Chunk("data", Bytes(2 * 13288)));
    CWaveResource wave;
    if (!wave.OpenMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
        state.SkipWithError("wave");
        return;
    }
    std::array<CCricket, 16> crickets;
    if (!AttachAll(crickets, device, wave)) {
        state.SkipWithError("attach");
        return;
    }

    std::int64_t tick = 0;
    for (auto _ : state) {
        clock.Step(kTick);
        // The mouse moves for one second in every seven.
        const int disturbed = disturbedEvery7s && (tick % 700) < 100 ? 1 : 0;
        for (CCricket& cricket : crickets) {
            cricket.Tick(disturbed);
        }
        ++tick;
    }
    state.SetItemsProcessed(state.iterations());
    std::size_t chirps = 0;
    for (const auto& buffer : directSound.buffers) {
        chirps += buffer->playTimes.size();
    }
    state.counters["chirps_per_min"] =
        benchmark::Counter(static_cast<double>(chirps) * 6000.0 / static_cast<double>(tick));
}

BENCHMARK(SixteenCricketsTick)->Arg(0)->Arg(1)->ArgName("disturbed");

// The whole 10 ms of a running chorus: the ticks plus the mixer rendering that period of sound
// for sixteen crickets of WAVE 129 through the real mixer's offline output.
void SixteenCricketsTickAndMix(benchmark::State& state) {
    FakeClock clock;
    clock.nanoseconds = 100 * FakeClock::kNanosecondsPerSecond;
    auto output = std::make_shared<audio::OfflineOutput>(48000, 2);
    CSoundDevice device;
    CWaveResource wave;
    if (FAILED(dsound::CreateDevice(output, device.device.put())) ||
        FAILED(device.device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY)) ||
        !wave.OpenResource(129)) {
        state.SkipWithError("device or wave");
        return;
    }
    std::array<CCricket, 16> crickets;
    if (!AttachAll(crickets, device, wave)) {
        state.SkipWithError("attach");
        return;
    }

    std::vector<std::int16_t> samples(480 * 2);
    for (auto _ : state) {
        clock.Step(kTick);
        output->Render(samples.data(), 480);
        for (CCricket& cricket : crickets) {
            cricket.Tick(0);
        }
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(SixteenCricketsTickAndMix);

} // namespace

BENCHMARK_MAIN();
