#include "res/Strings.h"
#include "FakeFramework.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

TEST(StringTable, HoldsTheProgramsTexts) {
    EXPECT_EQ(LoadString(57344), "Kirorin");
    EXPECT_EQ(LoadString(57666), "メインウィンドウの作成に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57667), "サウンドの初期化に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57668), "設定ファイルの保存に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57669), "サウンドの設定に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(32771), "Kirorinの設定とバージョン情報\nKirorinの設定");
    EXPECT_EQ(LoadString(57665), "Kirorin終了\nKirorin終了");
    EXPECT_TRUE(LoadString(57670).empty());
}

TEST(FailureMessage, BoxWithTheWholeEntryAndOneLineOnStandardError) {
    {
        FakeFramework framework;
        ::testing::internal::CaptureStderr();
        platform::ShowFailureMessage(57668);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "Kirorin: 設定ファイルの保存に失敗しました Kirorinの起動を中断します\n");
        ASSERT_EQ(framework.boxes.size(), 1u);
        EXPECT_EQ(framework.boxes[0].first, "Kirorin");
        EXPECT_EQ(framework.boxes[0].second, LoadString(57668));
        EXPECT_TRUE(framework.commands.empty());
        platform::PostCommand(platform::ID_EXIT);
        EXPECT_THAT(framework.commands, ::testing::ElementsAre(57665u));
    }
    EXPECT_TRUE(platform::FailureReported());
    // Without a framework only standard error hears of it.
    ::testing::internal::CaptureStderr();
    platform::ShowFailureMessage(57667);
    platform::PostCommand(platform::ID_EXIT);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Kirorin: サウンドの初期化に失敗しました Kirorinの起動を中断します\n");
}

} // namespace
