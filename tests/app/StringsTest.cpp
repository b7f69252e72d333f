#include "res/Strings.h"
#include "FakeFramework.h"
#include "platform/Framework.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StringTable, HoldsTheProgramsTexts) {
    EXPECT_EQ(LoadString(57344), "Kirorin");
    EXPECT_EQ(LoadString(57666), "メインウィンドウの作成に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57667), "サウンドの初期化に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57668), "設定ファイルの保存に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(57669), "サウンドの設定に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(LoadString(32771), "Kirorinの設定とバージョン情報\nKirorinの設定");
    EXPECT_EQ(LoadString(57665), "Kirorin終了\nKirorin終了");
    EXPECT_TRUE(LoadString(0).empty());
    EXPECT_TRUE(LoadString(57670).empty());
}

TEST(FailureMessage, ShowsTheWholeEntryCaptionedAndWritesOneLineToStandardError) {
    FakeFramework framework;

    ::testing::internal::CaptureStderr();
    platform::ShowFailureMessage(57668);
    const std::string err = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].first, "Kirorin");
    EXPECT_EQ(framework.boxes[0].second,
              "設定ファイルの保存に失敗しました\nKirorinの起動を中断します");
    EXPECT_EQ(err, "Kirorin: 設定ファイルの保存に失敗しました Kirorinの起動を中断します\n");
    EXPECT_TRUE(framework.commands.empty());
    EXPECT_TRUE(platform::FailureReported());

    platform::PostCommand(platform::ID_EXIT);
    EXPECT_EQ(framework.commands, std::vector<std::uint32_t>{57665});
}

TEST(FailureMessage, WithoutAFrameworkOnlyStandardErrorHearsOfIt) {
    platform::Framework* previous = platform::SetFramework(nullptr);
    ::testing::internal::CaptureStderr();
    platform::ShowFailureMessage(57667);
    platform::PostCommand(platform::ID_EXIT);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Kirorin: サウンドの初期化に失敗しました Kirorinの起動を中断します\n");
    platform::SetFramework(previous);
}

} // namespace
