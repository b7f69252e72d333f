#include "AppTestSupport.h"

#include "res/Strings.h"

namespace {

using ::testing::ElementsAre;

class ActivityWindow : public AppTest {
protected:
    // Whether the crickets may tick at hh:mm with the window start..end (scheduleMode 1).
    bool Inside(int startHour, int startMinute, int endHour, int endMinute, int hour, int minute) {
        app->settings.scheduleMode = 1;
        app->settings.startHour = startHour;
        app->settings.startMinute = startMinute;
        app->settings.endHour = endHour;
        app->settings.endMinute = endMinute;
        Outside::now = {hour, minute};
        const int result = app->CheckActivityWindow();
        EXPECT_EQ(app->chorusActive, result);
        return result != 0;
    }
};

TEST_F(ActivityWindow, AcrossMidnightIncludesBothBoundaryMinutes) {
    EXPECT_TRUE(Inside(22, 0, 5, 30, 23, 59));
    EXPECT_TRUE(Inside(22, 0, 5, 30, 0, 0));
    EXPECT_TRUE(Inside(22, 0, 5, 30, 5, 30));
    EXPECT_TRUE(Inside(22, 0, 5, 30, 22, 0));
    EXPECT_FALSE(Inside(22, 0, 5, 30, 5, 31));
    EXPECT_FALSE(Inside(22, 0, 5, 30, 21, 59));
    EXPECT_FALSE(Inside(22, 0, 5, 30, 12, 0));
}

TEST_F(ActivityWindow, DaytimeWindow) {
    EXPECT_TRUE(Inside(9, 0, 17, 0, 9, 0));
    EXPECT_TRUE(Inside(9, 0, 17, 0, 17, 0));
    EXPECT_TRUE(Inside(9, 0, 17, 0, 12, 34));
    EXPECT_FALSE(Inside(9, 0, 17, 0, 8, 59));
    EXPECT_FALSE(Inside(9, 0, 17, 0, 17, 1));
}

TEST_F(ActivityWindow, EqualStartAndEndCoverTheWholeDay) {
    for (const int hour : {0, 7, 8, 9, 23}) {
        EXPECT_TRUE(Inside(8, 0, 8, 0, hour, 59)) << hour;
        EXPECT_TRUE(Inside(8, 0, 8, 0, hour, 0)) << hour;
    }
}

TEST_F(ActivityWindow, MidnightToLastMinuteCoversTheWholeDay) {
    EXPECT_TRUE(Inside(0, 0, 23, 59, 0, 0));
    EXPECT_TRUE(Inside(0, 0, 23, 59, 12, 0));
    EXPECT_TRUE(Inside(0, 0, 23, 59, 23, 59));
}

TEST_F(ActivityWindow, ScheduleModeZeroIgnoresTheTimes) {
    app->settings.scheduleMode = 0;
    app->settings.startHour = 9;
    app->settings.endHour = 10;
    Outside::now = {3, 0};
    EXPECT_EQ(app->CheckActivityWindow(), 1);
    EXPECT_EQ(app->chorusActive, 1);
}

TEST_F(ActivityWindow, ValuesOutsideTheDialogsRangesStayDefined) {
    // Times the file may carry but the dialog never makes: plain arithmetic on minutes.
    EXPECT_FALSE(Inside(25, 0, 26, 0, 12, 0));
    EXPECT_TRUE(Inside(-1, 0, 1, 0, 0, 30));
    // hour × 60 beyond 32 bits: a start far past the end runs across midnight.
    EXPECT_TRUE(Inside(40000000, 0, 23, 59, 12, 0));
    EXPECT_FALSE(Inside(40000000, 0, 12, 0, 12, 1));
    EXPECT_TRUE(Inside(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 12, 0));
}

TEST_F(ActivityWindow, LeavingStopsEveryVoiceAndReenteringStartsThemAgain) {
    app->settings.scheduleMode = 1;
    app->settings.startHour = 9;
    app->settings.startMinute = 0;
    app->settings.endHour = 17;
    app->settings.endMinute = 0;
    app->settings.cricketCount = 16;
    Outside::now = {17, 0};
    Tick();
    ASSERT_EQ(app->chorusActive, 1);
    EXPECT_EQ(VoicesHeld(), 16);
    EXPECT_EQ(sound.LiveBuffers(), 16);
    app->crickets[3].voice.buffer->Play(0, 0, 0);

    Outside::now = {17, 1};
    Tick();
    EXPECT_EQ(app->chorusActive, 0);
    EXPECT_EQ(VoicesHeld(), 0);
    EXPECT_EQ(sound.LiveBuffers(), 0);
    EXPECT_FALSE(sound.buffers[3]->playing);
    for (FakeBuffer* buffer : sound.buffers) {
        EXPECT_EQ(buffer->releases, 1);
    }
    EXPECT_EQ(app->chirpSource.format, nullptr);
    EXPECT_EQ(app->secondSource.format, nullptr);

    Tick();
    EXPECT_EQ(sound.buffers.size(), 16u);

    Outside::now = {9, 0};
    Tick();
    EXPECT_EQ(app->chorusActive, 1);
    EXPECT_EQ(VoicesHeld(), 16);
    EXPECT_EQ(sound.buffers.size(), 32u);
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, ChorusStartAttachesTheFirstCricketCountCrickets) {
    for (const int count : {1, 4, 16}) {
        app->settings.cricketCount = count;
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(app->chorusActive, 1);
        EXPECT_EQ(VoicesHeld(), count);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(static_cast<bool>(app->crickets[i].voice.buffer), i < count) << i;
        }
        app->StopChorus();
    }
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, EveryVoiceIsMadeFromTheChirpRecording) {
    app->settings.cricketCount = 2;
    ASSERT_EQ(app->StartChorus(), 1);
    ASSERT_NE(app->chirpSource.format, nullptr);
    ASSERT_NE(app->secondSource.format, nullptr);
    for (FakeBuffer* buffer : sound.buffers) {
        EXPECT_EQ(buffer->bytes, app->chirpSource.dataSize);
        EXPECT_EQ(buffer->flags, CCricket::kBufferFlags);
        // Pitch within 500 Hz of the recording's rate.
        EXPECT_GE(buffer->frequency, app->chirpSource.format->nSamplesPerSec - 500);
        EXPECT_LE(buffer->frequency, app->chirpSource.format->nSamplesPerSec + 500);
    }
}

TEST_F(AppTest, CountZeroOrBelowRunsWithoutAVoice) {
    for (const int count : {0, -1, INT32_MIN}) {
        app->settings.cricketCount = count;
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(app->chorusActive, 1);
        EXPECT_NE(app->chirpSource.format, nullptr);
        EXPECT_NE(app->secondSource.format, nullptr);
        EXPECT_EQ(VoicesHeld(), 0);
        EXPECT_EQ(Tick(), 1);
        app->StopChorus();
    }
    EXPECT_TRUE(sound.buffers.empty());
}

TEST_F(AppTest, CountAboveSixteenUsesTheSixteenThatExist) {
    for (const int count : {17, INT32_MAX}) {
        app->settings.cricketCount = count;
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(VoicesHeld(), 16);
        EXPECT_EQ(Tick(), 1);
        app->StopChorus();
    }
}

TEST_F(AppTest, StartWhileRunningReopensNothing) {
    app->settings.cricketCount = 3;
    ASSERT_EQ(app->StartChorus(), 1);
    const WAVEFORMATEX* format = app->chirpSource.format;
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(sound.buffers.size(), 3u);
    EXPECT_EQ(app->chirpSource.format, format);
}

TEST_F(AppTest, StopReleasesAllSixteenAndTheNextStartMakesTheNewCount) {
    app->settings.cricketCount = 16;
    ASSERT_EQ(app->StartChorus(), 1);
    app->settings.cricketCount = 4;
    app->StopChorus();
    EXPECT_EQ(sound.LiveBuffers(), 0);
    EXPECT_EQ(VoicesHeld(), 0);
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(sound.buffers.size(), 20u);
    EXPECT_EQ(sound.LiveBuffers(), 4);
    EXPECT_EQ(VoicesHeld(), 4);
}

TEST_F(AppTest, StopWhileStoppedChangesNothing) {
    app->StopChorus();
    EXPECT_EQ(app->chorusActive, 0);
    EXPECT_TRUE(sound.buffers.empty());
}

TEST_F(AppTest, FailureAtCricketKReportsOnceAndKeepsTheEarlierVoices) {
    app->settings.cricketCount = 8;
    sound.failCreateAt = 5;
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(app->chorusActive, 0);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(static_cast<bool>(app->crickets[i].voice.buffer), i < 5) << i;
    }
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].first, "Kirorin");
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsSoundSetupFailed));
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
    // The failing tick goes no further than the gate: the detector never ran.
    EXPECT_EQ(Outside::CursorReads(), 0);
    EXPECT_EQ(app->quietCountdown, 600);
}

TEST_F(AppTest, SecondRecordingThatCannotBeOpenedFailsTheStart) {
    app->secondResource = 999;
    EXPECT_EQ(app->StartChorus(), 0);
    EXPECT_EQ(app->chorusActive, 0);
    EXPECT_TRUE(sound.buffers.empty());
    EXPECT_NE(app->chirpSource.format, nullptr);
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsSoundSetupFailed));
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
}

TEST_F(AppTest, ChirpRecordingThatCannotBeOpenedFailsTheStart) {
    app->chirpResource = 999;
    EXPECT_EQ(app->StartChorus(), 0);
    EXPECT_EQ(app->secondSource.format, nullptr);
    EXPECT_TRUE(sound.buffers.empty());
    EXPECT_EQ(framework.boxes.size(), 1u);
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
}

TEST_F(AppTest, DestructionReleasesEveryBufferBeforeTheDevice) {
    app->settings.cricketCount = 16;
    ASSERT_EQ(app->StartChorus(), 1);
    const int deviceReferences = sound.references;
    app.reset();
    EXPECT_EQ(sound.references, deviceReferences - 1);
    EXPECT_EQ(sound.liveBuffersAtLastRelease, 0);
}

} // namespace
