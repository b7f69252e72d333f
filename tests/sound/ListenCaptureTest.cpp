// Runs kirorin-listen against SDL's disk audio driver: what reached the "sound card" is the chirp
// as the offline rendering with the same options holds it, sample for sample. What the offline
// rendering sounds like is the sound and audio tests' part. Under ThreadSanitizer this is the run
// in which a voice is made, set and polled while SDL's thread mixes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// A file's 16-bit stereo samples (in the machine's byte order, as the disk driver writes them)
// from the first frame to the last that sounds: louder than half an 8-bit step, so that the
// resampler's faint ringing around the chirp does not count.
std::vector<std::int16_t> Sounding(const std::filesystem::path& path, std::size_t skip) {
    std::vector<std::int16_t> s((std::filesystem::file_size(path) - skip) / 2);
    std::ifstream(path, std::ios::binary)
        .seekg(std::streamoff(skip))
        .read(reinterpret_cast<char*>(s.data()), std::streamsize(s.size() * 2));
    const auto loud = [](std::int16_t v) { return std::abs(v) > 128; };
    const auto first = (std::find_if(s.begin(), s.end(), loud) - s.begin()) / 2 * 2;
    const auto end = (s.rend() - std::find_if(s.rbegin(), s.rend(), loud) + 1) / 2 * 2;
    return first < end ? std::vector(s.begin() + first, s.begin() + end)
                       : std::vector<std::int16_t>{};
}

TEST(ListenCapture, TheDiskDriverHoldsTheOfflineRendering) {
    const char* listen = std::getenv("KIRORIN_LISTEN");
    ASSERT_NE(listen, nullptr) << "KIRORIN_LISTEN names the program";
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kirorin-listen-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const auto capture = folder / "capture.raw", rendered = folder / "render.wav";
    for (const int frequency : {11025, 10525}) {
        const std::string options = " --frequency " + std::to_string(frequency) + " --pan -1666";
        const std::string play = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + capture.string() +
                                 "' '" + listen + "'" + options;
        ASSERT_EQ(std::system(play.c_str()), 0) << play;
        const std::string render =
            "'" + std::string(listen) + "'" + options + " --out '" + rendered.string() + "'";
        ASSERT_EQ(std::system(render.c_str()), 0) << render;
        const std::vector<std::int16_t> heard = Sounding(capture, 0);
        EXPECT_FALSE(heard.empty()) << frequency;
        EXPECT_TRUE(heard == Sounding(rendered, 44)) << frequency;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
