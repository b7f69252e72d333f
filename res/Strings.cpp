#include "res/Strings.h"

#include "res/Translatable.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint32_t, std::string_view>, 7> kTable{{
    {kIdsSettingsPrompt,
     QT_TRANSLATE_NOOP("Strings", "Kirorinの設定とバージョン情報\nKirorinの設定")},
    {kIdsAppTitle, "Kirorin"},
    {kIdsExitPrompt, QT_TRANSLATE_NOOP("Strings", "Kirorin終了\nKirorin終了")},
    {kIdsMainWindowFailed,
     QT_TRANSLATE_NOOP("Strings",
                       "メインウィンドウの作成に失敗しました\nKirorinの起動を中断します")},
    {kIdsSoundInitFailed,
     QT_TRANSLATE_NOOP("Strings", "サウンドの初期化に失敗しました\nKirorinの起動を中断します")},
    {kIdsSettingsSaveFailed,
     QT_TRANSLATE_NOOP("Strings", "設定ファイルの保存に失敗しました\nKirorinの起動を中断します")},
    {kIdsSoundSetupFailed,
     QT_TRANSLATE_NOOP("Strings", "サウンドの設定に失敗しました\nKirorinの起動を中断します")},
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
