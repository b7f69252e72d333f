// Writes the settings fuzzer's seed files, built with the tests' own file builder.
#include "testsupport/SettingsFileBuilder.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const SettingsFields d = kDefaultSettingsFields;
    const bool ok =
        Write(dir / "default.sav", SettingsFileBytes(d)) &&
        Write(dir / "short35.sav", SettingsFileBytes(d, 35)) &&
        Write(dir / "long40.sav", SettingsFileBytes({1000, 2, 4, 50, 0, 0, 0, 23, 59}, 40)) &&
        Write(dir / "marker999.sav", SettingsFileBytes({999, 2, 4, 100, 0, 0, 0, 23, 59})) &&
        Write(dir / "count40.sav", SettingsFileBytes({1000, 2, 40, 100, 0, 0, 0, 23, 59})) &&
        Write(dir / "extremes.sav",
              SettingsFileBytes({1000, INT32_MIN, 4, INT32_MAX, 1, INT32_MAX, 0, 23, INT32_MIN}));
    if (!ok) {
        std::fprintf(stderr, "cannot write seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
