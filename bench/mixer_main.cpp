// 16 chirps at cricket pitches for 60 s: our mixer against OpenAL Soft's (linear and bsinc24).
#include "mixer_chorus.h"
#include "mixer_openal.h"

#include "audio/OfflineOutput.h"
#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/DsPtr.h"
#include "testsupport/Spectrum.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <numbers>
#include <string>

namespace {

constexpr int kPeriods = kSeconds * kOutputRate / kPeriod;

struct OurChorus {
    std::shared_ptr<audio::OfflineOutput> output =
        std::make_shared<audio::OfflineOutput>(kOutputRate, 2);
    DsPtr<IDirectSound> device;
    DsPtr<IDirectSoundBuffer> buffers[kVoices];

    bool Start(const ChirpRecording& chirp, bool looping) {
        if (chirp.bytes.empty() || FAILED(dsound::CreateDevice(output, device.put()))) {
            return false;
        }
        const auto blockAlign = static_cast<WORD>(chirp.channels * chirp.bits / 8);
        WAVEFORMATEX format{WAVE_FORMAT_PCM,
                            static_cast<WORD>(chirp.channels),
                            static_cast<DWORD>(chirp.rate),
                            chirp.rate * blockAlign * 1u,
                            blockAlign,
                            static_cast<WORD>(chirp.bits),
                            0};
        const DSBUFFERDESC desc{DSBUFFERDESC_SIZE, 0x80E0, static_cast<DWORD>(chirp.bytes.size()),
                                0, &format};
        for (int i = 0; i < kVoices; ++i) {
            DsPtr<IDirectSoundBuffer>& buffer = buffers[i];
            void* block = nullptr;
            DWORD bytes = 0;
            if (FAILED(device->CreateSoundBuffer(&desc, buffer.put(), nullptr)) ||
                FAILED(buffer->Lock(0, desc.dwBufferBytes, &block, &bytes, nullptr, nullptr, 0))) {
                return false;
            }
            std::memcpy(block, chirp.bytes.data(), bytes);
            buffer->Unlock(block, bytes, nullptr, 0);
            buffer->SetFrequency(static_cast<DWORD>(VoicePitch(i)));
            buffer->SetVolume(VoiceVolume(i));
            buffer->SetPan(VoicePan(i));
            buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
        }
        return true;
    }
};

void Kirorin(benchmark::State& state, bool timeSetup) {
    std::vector<std::int16_t> period(2 * kPeriod);
    for (auto _ : state) {
        if (!timeSetup) {
            state.PauseTiming();
        }
        auto chorus = std::make_unique<OurChorus>();
        if (!chorus->Start(Chirp(), true)) {
            state.SkipWithError("could not start the chorus");
            return;
        }
        if (!timeSetup) {
            state.ResumeTiming();
        }
        for (int i = 0; i < kPeriods; ++i) {
            chorus->output->Render(period.data(), kPeriod);
            benchmark::DoNotOptimize(period.data());
        }
        state.PauseTiming();
        chorus.reset();
        state.ResumeTiming();
    }
}

std::vector<int> Pitches() {
    std::vector<int> pitches;
    for (int i = 0; i < kVoices; ++i) {
        pitches.push_back(VoicePitch(i));
    }
    return pitches;
}

void OpenAl(benchmark::State& state, const char* resampler) {
    OpenAlChorus chorus;
    const ChirpRecording& chirp = Chirp();
    std::vector<std::int16_t> period(2 * kPeriod);
    for (auto _ : state) {
        state.PauseTiming();
        if (!chorus.Start(resampler, chirp.bytes, chirp.channels, chirp.bits, chirp.rate, Pitches(),
                          true)) {
            state.SkipWithError("no OpenAL loopback device or resampler");
            return;
        }
        state.ResumeTiming();
        for (int i = 0; i < kPeriods; ++i) {
            chorus.Render(period.data(), kPeriod);
            benchmark::DoNotOptimize(period.data());
        }
    }
}

BENCHMARK_CAPTURE(Kirorin, mix_only, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Kirorin, with_setup, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAl, linear, "Linear")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAl, bsinc24, "23rd order")->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }
    std::map<std::string, double> times;
};

// The same 4.9 kHz tone test the unit tests run on our mixer, for comparison.
void PrintQuality() {
    constexpr int kSourceRate = 11025;
    constexpr int kFrames = 2 * kSourceRate;
    std::vector<std::uint8_t> bytes(2 * kFrames);
    for (int i = 0; i < kFrames; ++i) {
        const double value = 0.5 * std::sin(2.0 * std::numbers::pi * 4900.0 * i / kSourceRate);
        const auto sample =
            static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767 * value)));
        bytes[2 * i] = static_cast<std::uint8_t>(sample & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(sample >> 8);
    }
    for (const int pitch : {10525, 11025, 11525}) {
        std::printf("4.9 kHz tone played at %d Hz, worst spurious component:", pitch);
        std::vector<std::int16_t> out(2 * 90000);
        {
            OurChorus ours;
            ChirpRecording tone{1, 16, kSourceRate, bytes};
            WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kSourceRate, 2 * kSourceRate, 2, 16, 0};
            const DSBUFFERDESC desc{DSBUFFERDESC_SIZE, 0x80E0, static_cast<DWORD>(bytes.size()), 0,
                                    &format};
            if (FAILED(dsound::CreateDevice(ours.output, ours.device.put())) ||
                FAILED(ours.device->CreateSoundBuffer(&desc, ours.buffers[0].put(), nullptr))) {
                return;
            }
            void* block = nullptr;
            DWORD length = 0;
            ours.buffers[0]->Lock(0, desc.dwBufferBytes, &block, &length, nullptr, nullptr, 0);
            std::memcpy(block, bytes.data(), length);
            ours.buffers[0]->Unlock(block, length, nullptr, 0);
            ours.buffers[0]->SetFrequency(static_cast<DWORD>(pitch));
            ours.buffers[0]->Play(0, 0, 0);
            ours.output->Render(out.data(), 90000);
            const auto report =
                soundtest::AnalyseTone(soundtest::Channel(out, 2, 0, 16384, 65536), kOutputRate);
            std::printf(" ours %.1f dB", report.spuriousDb);
        }
        for (const char* resampler : {"Linear", "23rd order"}) {
            OpenAlChorus openAl;
            if (!openAl.Start(resampler, bytes, 1, 16, kSourceRate, {pitch}, false)) {
                continue;
            }
            openAl.Render(out.data(), 90000);
            const auto report =
                soundtest::AnalyseTone(soundtest::Channel(out, 2, 0, 16384, 65536), kOutputRate);
            std::printf(", OpenAL %s %.1f dB", resampler, report.spuriousDb);
        }
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("ALSOFT_CONF", ALSOFT_BENCH_CONF, 0);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    const auto ratio = [&](const char* ours, const char* theirs) {
        if (t.count(ours) && t.count(theirs) && t[theirs] > 0) {
            std::printf("%-28s / %-20s = %.3f\n", ours, theirs, t[ours] / t[theirs]);
        }
    };
    std::printf("\n");
    for (const char* ours : {"Kirorin/mix_only", "Kirorin/with_setup"}) {
        ratio(ours, "OpenAl/linear");
        ratio(ours, "OpenAl/bsinc24");
    }
    PrintQuality();
    benchmark::Shutdown();
    return 0;
}
