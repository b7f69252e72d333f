// Well formed, malformed, truncated and lying inputs: the reader fails or delivers what the file
// holds, and never reads outside its copy (the sanitizer build checks the last part). Then the
// program's own recordings: their layout and what they sound like.

#include "platform/Resources.h"
#include "sound/CWaveResource.h"
#include "testsupport/Spectrum.h"
#include "testsupport/WaveBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace wavetest;

namespace {

// Opens a copy of exactly the given bytes (no spare capacity), so that the sanitizer build sees
// overreads.
int Open(CWaveResource& wave, const Bytes& bytes) {
    const Bytes exact(bytes.begin(), bytes.end());
    return wave.OpenMemory(exact.data(), static_cast<std::uint32_t>(exact.size()));
}

// After a Rewind, one read asking for more than there is; returns the bytes written into the
// buffer (up to the last one changed).
Bytes ReadWhole(CWaveResource& wave, int expectedResult = 1) {
    EXPECT_EQ(wave.Rewind(), 1);
    Bytes out(4096, 0xEE);
    std::uint32_t delivered = 12345;
    EXPECT_EQ(wave.Read(out.data(), 4096, &delivered), expectedResult);
    EXPECT_EQ(delivered, expectedResult ? wave.dataSize : 0);
    out.erase(std::find_if(out.rbegin(), out.rend(), [](auto b) { return b != 0xEE; }).base(),
              out.end());
    return out;
}

// One row per rule; the fuzzer checks that no input reads outside the copy, that a PCM record
// carries no extra bytes and that a file cut anywhere delivers no more than it holds.
TEST(WaveReader, OpensWhatIsThereAndRefusesTheRest) {
    const Bytes d = Chunk("data", Ramp(8)), good = Fmt(1, 1, 8000, 8) + d;
    const Bytes extra = Le(5, 2) + Bytes{0xA1, 0xB2, 0xC3, 0xD4, 0xE5},
                p18 = FormatFields(1, 1, 8000, 8) + Le(0, 2);
    // An image holding the samples Ramp(8), and the format record it opens with (none: refused).
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        {"data first, odd extra chunk", Riff(d + Chunk("LIST", Ramp(5)) + Fmt(1, 2, 8000, 16)),
         FormatFields(1, 2, 8000, 16) + Le(0, 2)},
        {"non-PCM", Riff(Fmt(2, 1, 8000, 4, extra) + d), FormatFields(2, 1, 8000, 4) + extra},
        {"not RIFF", Riff(good, {}, "LIST"), {}},
        {"AVI", Riff(good, {}, "RIFF", "AVI "), {}},
        // Lying sizes; in the last, a chunk's end wraps past 2^32 onto the next chunk.
        {"data size beyond the file", Riff(Fmt(1, 1, 8000, 8) + Chunk("data", Ramp(8), ~15u)), p18},
        {"RIFF size too large", Riff(good, ~0u), p18},
        {"data outside RIFF", Riff(good, 28), {}},
        {"fmt past the end", Riff(d + Chunk("fmt ", FormatFields(1, 1, 8000, 8), 4000)), {}},
        {"wrap past 2^32", Riff(Chunk("junk", {}, ~0u) + good), {}}};
    for (const auto& [what, image, format] : cases) {
        SCOPED_TRACE(what);
        CWaveResource wave;
        ASSERT_EQ(Open(wave, image), format.empty() ? 0 : 1);
        if (!format.empty()) {
            const auto* record = reinterpret_cast<const std::uint8_t*>(wave.format);
            EXPECT_EQ(Bytes(record, record + 18 + wave.format->cbSize), format)
                << "with its extra bytes";
            // The one lying data size opens, but reading it whole fails after copying the bytes.
            const bool lying = std::string_view(what).starts_with("data size");
            EXPECT_EQ(wave.dataSize, lying ? ~15u : 8u);
            EXPECT_EQ(ReadWhole(wave, !lying), Ramp(8));
        }
    }
}

TEST(WaveReader, ClosedUnknownOrFailedOpensLeaveNoStaleState) {
    CWaveResource wave;
    std::uint8_t byte = 0;
    std::uint32_t delivered = 0;
    ASSERT_EQ(Open(wave, SimplePcm(Ramp(50, 9))), 1);
    const WAVEFORMATEX* before = wave.format;
    EXPECT_EQ(wave.OpenResource(4242), 0);
    EXPECT_EQ(wave.format, before);
    EXPECT_EQ(ReadWhole(wave), Ramp(50, 9));
    // After a close, or an open that fails at the header or at finding the data, nothing of the
    // previous file is left: no format, no size, nothing to read.
    const Bytes pcm = FormatFields(1, 1, 8000, 8), fmt14 = Bytes(pcm.begin(), pcm.begin() + 14);
    for (const Bytes& failing : {Bytes{}, Riff(Chunk("fmt ", fmt14) + Chunk("data", Ramp(8))),
                                 Riff(Fmt(1, 1, 8000, 8) + Chunk("junk", Ramp(6)))}) {
        ASSERT_EQ(Open(wave, SimplePcm(Ramp(50, 9))), 1);
        EXPECT_EQ(failing.empty() ? 0 : Open(wave, failing), 0);
        if (failing.empty()) {
            wave.Close();
        }
        EXPECT_EQ(
            std::tuple(wave.format, wave.dataSize, wave.Rewind(), wave.Read(&byte, 1, &delivered)),
            std::tuple(nullptr, 0u, 0, 0))
            << failing.size();
    }
    // Opening the reader's own format record, whose extra bytes hold a "RIFF" header: the open
    // copies them before the old state goes away.
    const Bytes extra = Le(12, 2) + Riff(Bytes{});
    ASSERT_EQ(Open(wave, Riff(Fmt(2, 1, 8000, 4, extra) + Chunk("data", Ramp(4)))), 1);
    EXPECT_EQ(wave.OpenMemory(reinterpret_cast<const std::uint8_t*>(wave.format) + 18, 12), 0);
    EXPECT_EQ(wave.format, nullptr);
}

// 129, the chirp every cricket plays (130 is opened at start-up, never played): its header byte for
// byte, then exact silence around a fading train of quick pulses. (Its pitch near 5 kHz is heard
// in the end-to-end chorus.)
TEST(Recordings, TheChirpIsAFadingPulseTrainInSilence) {
    const Bytes head = Riff(
        Fmt(1, 2, 11025, 8, Le(0, 2)) + Chunk("fact", Le(13288)) + Chunk("data", {}, 26576), 26626);
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 0;
    ASSERT_TRUE(platform::FindResource("WAVE", 129, &bytes, &size));
    ASSERT_EQ(size, 26634u);
    ASSERT_EQ(Bytes(bytes, bytes + head.size()), head);
    std::vector<double> x; // the left channel, centred on 0
    for (std::size_t i = head.size(); i < size; i += 2) {
        ASSERT_EQ(bytes[i], bytes[i + 1]) << "both channels carry the same signal";
        x.push_back(bytes[i] - 128.0);
    }
    const auto at = [&](double t) { return x.begin() + std::ptrdiff_t(t * 11025); };
    const auto rms = [&](double from, double to) { return soundtest::Rms({at(from), at(to)}); };
    // Exact silence: sixteen of them must not add up to a noise bed.
    EXPECT_EQ(rms(0.0, 0.2), 0.0);
    EXPECT_EQ(rms(0.65, 1.205), 0.0);
    EXPECT_LT(rms(0.40, 0.45), 0.5 * rms(0.23, 0.30)) << "it fades";
    // About 40 pulses in the 0.2 to 0.65 s of the chirp: the size repeats every 9 to 13.5 ms.
    std::pair<double, std::ptrdiff_t> best{0.0, 0};
    for (std::ptrdiff_t lag = 55; lag <= 220; ++lag) {
        double sum = 0.0;
        for (auto i = at(0.225); i < at(0.33); ++i) {
            sum += std::abs(*i) * std::abs(i[lag]);
        }
        best = std::max(best, std::pair{sum, lag});
    }
    EXPECT_NEAR(best.second / 11025.0, 0.01125, 0.00225);
}

} // namespace
