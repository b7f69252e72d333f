#include "sound/CWaveResource.h"
#include "tests/wave/WaveBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wavetest;

namespace {

int Open(CWaveResource& wave, const Bytes& bytes) {
    return wave.OpenMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Everything the reader delivers after a Rewind, read in one go.
Bytes ReadAll(CWaveResource& wave) {
    EXPECT_EQ(wave.Rewind(), 1);
    Bytes out(wave.dataSize);
    std::uint32_t delivered = 0xDEAD;
    EXPECT_EQ(wave.Read(out.data(), wave.dataSize, &delivered), 1);
    EXPECT_EQ(delivered, wave.dataSize);
    return out;
}

} // namespace

TEST(WaveReader, OpensPcmAndDeliversItsData) {
    const Bytes samples = Ramp(301, 7);
    CWaveResource wave;
    ASSERT_EQ(Open(wave, SimplePcm(samples)), 1);
    ASSERT_NE(wave.format, nullptr);
    EXPECT_EQ(wave.format->wFormatTag, 1);
    EXPECT_EQ(wave.format->nChannels, 1);
    EXPECT_EQ(wave.format->nSamplesPerSec, 11025u);
    EXPECT_EQ(wave.format->nAvgBytesPerSec, 11025u);
    EXPECT_EQ(wave.format->nBlockAlign, 1);
    EXPECT_EQ(wave.format->wBitsPerSample, 8);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.dataSize, 301u);
    EXPECT_EQ(ReadAll(wave), samples);
}

TEST(WaveReader, ReadsInPiecesUntilEmptyAndRewindsToTheStart) {
    const Bytes samples = Ramp(1000);
    CWaveResource wave;
    ASSERT_EQ(Open(wave, SimplePcm(samples)), 1);

    Bytes first(600);
    std::uint32_t delivered = 0;
    ASSERT_EQ(wave.Read(first.data(), 600, &delivered), 1);
    EXPECT_EQ(delivered, 600u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), samples.begin()));

    Bytes rest(1000, 0xEE);
    ASSERT_EQ(wave.Read(rest.data(), 1000, &delivered), 1);
    EXPECT_EQ(delivered, 400u);
    EXPECT_TRUE(std::equal(rest.begin(), rest.begin() + 400, samples.begin() + 600));
    EXPECT_EQ(rest[400], 0xEE) << "nothing written past what was delivered";

    delivered = 77;
    EXPECT_EQ(wave.Read(rest.data(), 10, &delivered), 1);
    EXPECT_EQ(delivered, 0u);

    EXPECT_EQ(ReadAll(wave), samples);
}

TEST(WaveReader, ReadRefusesMissingArgumentsWithoutTouchingTheCount) {
    CWaveResource wave;
    std::uint8_t byte = 0;
    std::uint32_t delivered = 55;
    EXPECT_EQ(wave.Read(&byte, 1, &delivered), 0) << "closed reader";
    EXPECT_EQ(delivered, 55u);

    ASSERT_EQ(Open(wave, SimplePcm(Ramp(4))), 1);
    EXPECT_EQ(wave.Read(nullptr, 1, &delivered), 0);
    EXPECT_EQ(wave.Read(&byte, 1, nullptr), 0);
    EXPECT_EQ(delivered, 55u);
}

TEST(WaveReader, FindsChunksInAnyOrderAndSkipsOthers) {
    const Bytes samples = Ramp(33, 100);
    const Bytes dataFirst =
        WaveBuilder().Data(samples).Chunk("LIST", Ramp(5)).Format(1, 2, 8000, 16).Build();
    CWaveResource wave;
    ASSERT_EQ(Open(wave, dataFirst), 1);
    EXPECT_EQ(wave.format->nChannels, 2);
    EXPECT_EQ(wave.format->wBitsPerSample, 16);
    EXPECT_EQ(wave.dataSize, 33u);
    EXPECT_EQ(ReadAll(wave), samples);

    // Odd-sized chunks in between are skipped with their pad byte.
    const Bytes between = WaveBuilder()
                              .Chunk("junk", Ramp(3))
                              .Format(1, 1, 22050, 8)
                              .Chunk("fact", {1, 0, 0, 0})
                              .Chunk("cue ", Ramp(7))
                              .Data(samples)
                              .Build();
    ASSERT_EQ(Open(wave, between), 1);
    EXPECT_EQ(wave.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(ReadAll(wave), samples);
}

TEST(WaveReader, RequiresRiffWaveFmtAndData) {
    CWaveResource wave;
    EXPECT_EQ(Open(wave, WaveBuilder().Format(1, 1, 8000, 8).Chunk("junk", Ramp(6)).Build()), 0)
        << "no data";
    // Without a data position nothing is delivered, not even the bytes after "fmt ".
    std::uint8_t sink[8] = {};
    std::uint32_t delivered = 99;
    EXPECT_EQ(wave.Read(sink, sizeof sink, &delivered), 1);
    EXPECT_EQ(delivered, 0u);
    EXPECT_EQ(Open(wave, WaveBuilder().Data(Ramp(8)).Build()), 0) << "no fmt";
    const WaveBuilder good = WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(8));
    EXPECT_EQ(Open(wave, good.Build("RIFX")), 0);
    EXPECT_EQ(Open(wave, good.Build("LIST")), 0);
    EXPECT_EQ(Open(wave, good.Build("RIFF", "AVI ")), 0);
    // A RIFF header further in is not searched for.
    const Bytes valid = good.Build();
    Bytes late = {'j', 'u', 'n', 'k', 0, 0, 0, 0};
    late.insert(late.end(), valid.begin(), valid.end());
    EXPECT_EQ(Open(wave, late), 0);
    EXPECT_EQ(Open(wave, valid), 1);
}

TEST(WaveReader, FormatChunkSizes) {
    CWaveResource wave;
    Bytes fourteen = FormatFields(1, 1, 8000, 8);
    fourteen.resize(14);
    EXPECT_EQ(Open(wave, WaveBuilder().Chunk("fmt ", fourteen).Data(Ramp(8)).Build()), 0);

    ASSERT_EQ(Open(wave, WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(8)).Build()), 1);
    EXPECT_EQ(wave.format->cbSize, 0);

    // PCM ignores whatever extra count the chunk stores.
    ASSERT_EQ(Open(wave, WaveBuilder().Format(1, 1, 8000, 8, {0, 0}).Data(Ramp(8)).Build()), 1);
    EXPECT_EQ(wave.format->cbSize, 0);
    ASSERT_EQ(Open(wave, WaveBuilder().Format(1, 1, 8000, 8, {9, 0, 1, 2}).Data(Ramp(8)).Build()),
              1);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(ReadAll(wave), Ramp(8));
}

TEST(WaveReader, NonPcmFormatKeepsItsExtraBytes) {
    const Bytes extra = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5};
    Bytes after = {5, 0};
    after.insert(after.end(), extra.begin(), extra.end());
    CWaveResource wave;
    ASSERT_EQ(Open(wave, WaveBuilder().Format(2, 1, 8000, 4, after).Data(Ramp(9)).Build()), 1);
    EXPECT_EQ(wave.format->wFormatTag, 2);
    EXPECT_EQ(wave.format->cbSize, 5);
    const auto* record = reinterpret_cast<const std::uint8_t*>(wave.format);
    EXPECT_EQ(Bytes(record + 18, record + 23), extra);
    EXPECT_EQ(ReadAll(wave), Ramp(9));

    // Extra bytes that the file does not hold fail the open.
    Bytes tooMany = {200, 0, 1, 2, 3};
    const Bytes image = WaveBuilder().Data(Ramp(4)).Format(2, 1, 8000, 4, tooMany).Build();
    EXPECT_EQ(Open(wave, image), 0);
    EXPECT_EQ(wave.format, nullptr);
}

TEST(WaveReader, CloseIsHarmlessAndForgetsTheFile) {
    CWaveResource never;
    EXPECT_EQ(never.Close(), 1);
    EXPECT_EQ(never.format, nullptr);
    EXPECT_EQ(never.dataSize, 0u);
    EXPECT_EQ(never.Rewind(), 0);

    CWaveResource wave;
    ASSERT_EQ(Open(wave, SimplePcm(Ramp(10))), 1);
    EXPECT_EQ(wave.Close(), 1);
    EXPECT_EQ(wave.format, nullptr);
    EXPECT_EQ(wave.Rewind(), 0);
    EXPECT_EQ(wave.ParseHeader(), 0);
    EXPECT_EQ(wave.Close(), 1);
}

TEST(WaveReader, OpeningAgainReplacesTheOldRecording) {
    CWaveResource wave;
    ASSERT_EQ(Open(wave, SimplePcm(Ramp(10))), 1);
    Bytes source = WaveBuilder().Format(1, 2, 44100, 16).Data(Ramp(20, 3)).Build();
    ASSERT_EQ(Open(wave, source), 1);
    // The reader keeps a copy: the caller's bytes may go away.
    std::memset(source.data(), 0, source.size());
    EXPECT_EQ(wave.format->nSamplesPerSec, 44100u);
    EXPECT_EQ(wave.dataSize, 20u);
    EXPECT_EQ(ReadAll(wave), Ramp(20, 3));
}

TEST(WaveReader, UnknownResourceLeavesTheReaderAsItWas) {
    CWaveResource closed;
    EXPECT_EQ(closed.OpenResource(4242), 0);
    EXPECT_EQ(closed.format, nullptr);
    EXPECT_EQ(closed.Rewind(), 0);

    CWaveResource open;
    ASSERT_EQ(Open(open, SimplePcm(Ramp(50, 9))), 1);
    const WAVEFORMATEX* before = open.format;
    EXPECT_EQ(open.OpenResource(4242), 0);
    EXPECT_EQ(open.format, before);
    EXPECT_EQ(open.dataSize, 50u);
    EXPECT_EQ(ReadAll(open), Ramp(50, 9));
}

TEST(WaveReader, OpensFromBytesThatCloseWouldFree) {
    // Opening the reader's own format record: it is copied before the old state goes away.
    Bytes extra = {12, 0};
    const Bytes inner = WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(4)).Build();
    extra.insert(extra.end(), inner.begin(), inner.begin() + 12);
    CWaveResource wave;
    ASSERT_EQ(Open(wave, WaveBuilder().Format(2, 1, 8000, 4, extra).Data(Ramp(4)).Build()), 1);
    ASSERT_EQ(wave.format->cbSize, 12);
    const auto* record = reinterpret_cast<const std::uint8_t*>(wave.format);
    // The record's extra bytes start with "RIFF": the open gets that far before failing.
    EXPECT_EQ(wave.OpenMemory(record + 18, 12), 0);
    EXPECT_EQ(wave.format, nullptr);
}
