#include "app/CommandLine.h"

#include <string_view>

namespace {

constexpr const char* kUsage = "Usage: kirorin [--help | --version]\n";

constexpr const char* kHelp =
    "A chorus of bell crickets (鈴虫) that sings quietly through the sound card. Kirorin\n"
    "shows an icon in the notification area: double-click it for the settings, right-click\n"
    "it for the menu. It takes no other arguments.\n"
    "\n"
    "Only one Kirorin runs at a time for each user: a second start ends at once, silently.\n"
    "To quit it: the tray menu's \"終了\", Ctrl+C in its terminal, or `pkill -x kirorin`.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n";

} // namespace

std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out,
                                     std::FILE* err) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fprintf(out, "%s\n%s", kUsage, kHelp);
            return 0;
        }
        if (arg == "--version" || arg == "-V") {
            std::fprintf(out, "kirorin %s\n", KIRORIN_VERSION);
            return 0;
        }
        std::fprintf(err, "kirorin: %s '%s'\n%sTry 'kirorin --help' for more.\n",
                     arg.starts_with('-') ? "unknown option" : "unexpected argument", argv[i],
                     kUsage);
        return 2;
    }
    return std::nullopt;
}
