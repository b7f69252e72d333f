// Malformed, truncated and lying inputs: the reader fails or delivers what the file holds, and
// never reads outside its copy (the sanitizer build checks the last part).

#include "sound/CWaveResource.h"
#include "tests/wave/WaveBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

using namespace wavetest;

namespace {

// Opens a copy of exactly the given bytes on the heap, so that overreads of the caller's buffer
// would show as well.
int OpenExact(CWaveResource& wave, const Bytes& bytes) {
    auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return wave.OpenMemory(exact.get(), static_cast<std::uint32_t>(bytes.size()));
}

// Reads the data chunk in one call; returns the read's result.
int ReadWhole(CWaveResource& wave, Bytes& out, std::uint32_t& delivered) {
    wave.Rewind();
    out.assign(4096, 0);
    delivered = 12345;
    return wave.Read(out.data(), static_cast<std::uint32_t>(out.size()), &delivered);
}

} // namespace

TEST(MalformedWave, EveryTruncationFailsOrStaysWithinTheBytes) {
    const Bytes samples = Ramp(23);
    const Bytes whole = SimplePcm(samples); // fmt at 12 (16 bytes), data header at 36
    constexpr std::size_t dataStart = 44;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        CWaveResource wave;
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const int opened = OpenExact(wave, prefix);
        EXPECT_EQ(opened, length >= dataStart ? 1 : 0);
        if (!opened) {
            continue;
        }
        EXPECT_EQ(wave.dataSize, samples.size()) << "the size is the chunk's own word";
        Bytes out;
        std::uint32_t delivered = 0;
        const int read = ReadWhole(wave, out, delivered);
        if (length >= dataStart + samples.size()) {
            EXPECT_EQ(read, 1);
            EXPECT_EQ(delivered, samples.size());
        } else {
            // A data chunk cut short is a failed read that delivers nothing.
            EXPECT_EQ(read, 0);
            EXPECT_EQ(delivered, 0u);
            EXPECT_TRUE(
                std::equal(out.begin(), out.begin() + (length - dataStart), samples.begin()));
            EXPECT_EQ(out[length - dataStart], 0) << "nothing copied from beyond the bytes";
        }
    }
}

TEST(MalformedWave, LyingSizes) {
    CWaveResource wave;
    Bytes out;
    std::uint32_t delivered = 0;

    // A data chunk claiming far more than the file holds opens, but cannot be read whole.
    ASSERT_EQ(
        OpenExact(wave,
                  WaveBuilder().Format(1, 1, 8000, 8).Chunk("data", Ramp(8), 0xFFFFFFF0u).Build()),
        1);
    EXPECT_EQ(wave.dataSize, 0xFFFFFFF0u);
    EXPECT_EQ(ReadWhole(wave, out, delivered), 0);
    EXPECT_EQ(delivered, 0u);
    // A small read within the bytes that are there works.
    ASSERT_EQ(wave.Rewind(), 1);
    ASSERT_EQ(wave.Read(out.data(), 8, &delivered), 1);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), Ramp(8));

    // A "fmt " chunk running past the end of the file fails.
    EXPECT_EQ(
        OpenExact(
            wave,
            WaveBuilder().Data(Ramp(8)).Chunk("fmt ", FormatFields(1, 1, 8000, 8), 4000).Build()),
        0);

    // The RIFF size bounds the search; a larger one is bounded by the file instead.
    const WaveBuilder good = WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(8));
    EXPECT_EQ(OpenExact(wave, WaveBuilder(good).RiffSize(0xFFFFFFFFu).Build()), 1);
    EXPECT_EQ(OpenExact(wave, WaveBuilder(good).RiffSize(0).Build()), 0);
    EXPECT_EQ(OpenExact(wave, WaveBuilder(good).RiffSize(4 + 24).Build()), 0)
        << "data lies outside the RIFF chunk";
    EXPECT_EQ(OpenExact(wave, WaveBuilder(good).RiffSize(4 + 24 + 1).Build()), 1)
        << "a data header that starts inside the RIFF chunk counts";
}

TEST(MalformedWave, ChunkSizesThatWouldWrapAroundDoNotLoopOrMisplace) {
    CWaveResource wave;
    // 20 + 0xFFFFFFF7 + pad wraps to 12 in 32 bits: a naive skip would find this chunk forever.
    EXPECT_EQ(OpenExact(wave, WaveBuilder().Chunk("junk", {}, 0xFFFFFFF7u).Build()), 0);

    // 20 + 0xFFFFFFFC wraps to 16, where this junk chunk's body hides a "fmt " and "data".
    Bytes hidden = WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(4)).Build();
    hidden.erase(hidden.begin(), hidden.begin() + 12);
    const Bytes image = WaveBuilder().Chunk("junk", hidden, 0xFFFFFFFCu).Build();
    EXPECT_EQ(OpenExact(wave, image), 0);

    // An odd size of 0xFFFFFFFF plus its pad byte is exactly 2^32 past the data.
    EXPECT_EQ(OpenExact(wave, WaveBuilder()
                                  .Chunk("junk", {}, 0xFFFFFFFFu)
                                  .Format(1, 1, 8000, 8)
                                  .Data(Ramp(4))
                                  .Build()),
              0);
}

TEST(MalformedWave, TinyAndEmptyInputs) {
    CWaveResource wave;
    EXPECT_EQ(wave.OpenMemory(nullptr, 0), 0);
    EXPECT_EQ(wave.OpenMemory(nullptr, 100), 0);
    const std::uint8_t riff[] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'};
    EXPECT_EQ(wave.OpenMemory(riff, sizeof riff), 0);
    EXPECT_EQ(OpenExact(wave, WaveBuilder().Build()), 0);
    EXPECT_EQ(OpenExact(wave, WaveBuilder().Chunk("fmt ", {}).Data(Ramp(2)).Build()), 0);
    // A data chunk with no bytes at all, ending the file.
    const Bytes headerOnly = WaveBuilder().Format(1, 1, 8000, 8).Data({}).Build();
    ASSERT_EQ(OpenExact(wave, headerOnly), 1);
    EXPECT_EQ(wave.dataSize, 0u);
    Bytes out;
    std::uint32_t delivered = 0;
    EXPECT_EQ(ReadWhole(wave, out, delivered), 1);
    EXPECT_EQ(delivered, 0u);
}

TEST(MalformedWave, NonPcmExtraBytesAreReadPastTheFormatChunk) {
    // A 16-byte non-PCM "fmt " chunk: the extra count comes from the next bytes of the file, as
    // the format's reader always has done; it stays within the file.
    CWaveResource wave;
    const Bytes image =
        WaveBuilder().Format(2, 1, 8000, 4).Chunk("data", Ramp(6)).Build(); // count = "da"
    EXPECT_EQ(OpenExact(wave, image), 0) << "0x6164 extra bytes are not there";
    const Bytes small = WaveBuilder()
                            .Format(2, 1, 8000, 4)
                            .Chunk(std::string_view("\x02\x00xy", 4), {})
                            .Chunk("data", Ramp(6))
                            .Build();
    ASSERT_EQ(OpenExact(wave, small), 1);
    EXPECT_EQ(wave.format->cbSize, 2);
    const auto* record = reinterpret_cast<const std::uint8_t*>(wave.format);
    EXPECT_EQ(record[18], 'x');
    EXPECT_EQ(record[19], 'y');
}
