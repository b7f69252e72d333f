#include "res/Strings.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint32_t, std::string_view>, 7> kTable{{
    {kIdsSettingsPrompt, "Kirorinの設定とバージョン情報\nKirorinの設定"},
    {kIdsAppTitle, "Kirorin"},
    {kIdsExitPrompt, "Kirorin終了\nKirorin終了"},
    {kIdsMainWindowFailed, "メインウィンドウの作成に失敗しました\nKirorinの起動を中断します"},
    {kIdsSoundInitFailed, "サウンドの初期化に失敗しました\nKirorinの起動を中断します"},
    {kIdsSettingsSaveFailed, "設定ファイルの保存に失敗しました\nKirorinの起動を中断します"},
    {kIdsSoundSetupFailed, "サウンドの設定に失敗しました\nKirorinの起動を中断します"},
}};

} // namespace

std::string_view LoadString(std::uint32_t id) {
    for (const auto& [key, text] : kTable) {
        if (key == id) {
            return text;
        }
    }
    return {};
}
