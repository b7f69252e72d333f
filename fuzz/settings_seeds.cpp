// Writes the settings fuzzer's seed files, built with the tests' own file builder.
#include "tests/settings/SettingsFileBuilder.h"

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
    using B = SettingsFileBuilder;
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const bool ok = Write(dir / "default.sav", B().Bytes()) &&
                    Write(dir / "short35.sav", B().Length(35).Bytes()) &&
                    Write(dir / "long40.sav", B().Set(B::Volume, 50).Length(40).Bytes()) &&
                    Write(dir / "marker999.sav", B().Set(B::Marker, 999).Bytes()) &&
                    Write(dir / "count40.sav", B().Set(B::CricketCount, 40).Bytes()) &&
                    Write(dir / "extremes.sav", B().Set(B::Wariness, INT32_MIN)
                                                    .Set(B::Volume, INT32_MAX)
                                                    .Set(B::ScheduleMode, 1)
                                                    .Set(B::StartHour, INT32_MAX)
                                                    .Set(B::EndMinute, INT32_MIN)
                                                    .Bytes());
    if (!ok) {
        std::fprintf(stderr, "cannot write seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
