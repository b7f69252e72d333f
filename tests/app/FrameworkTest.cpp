#include "platform/CommandEvent.h"
#include "platform/QtFramework.h"
#include "ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTimerEvent>

#include <csignal>
#include <functional>
#include <memory>

namespace {

using platform::ID_EXIT;

class RecordingApplication : public platform::Application {
public:
    int StartUp() override { return startUp ? startUp() : 1; }
    int PreviewMessage(const platform::Message& message) override {
        ++previews;
        last = message;
        return 1;
    }
    int ShutDown(int exitCode) override {
        ++shutDowns;
        shutDownCode = exitCode;
        return exitCode;
    }

    std::function<int()> startUp;
    int previews = 0;
    platform::Message last;
    int shutDowns = 0;
    int shutDownCode = -1;
};

// Counts the timer events that reach it.
class TimerTarget : public QObject {
public:
    int received = 0;

protected:
    void timerEvent(QTimerEvent*) override { ++received; }
};

class FrameworkTest : public ::testing::Test {
protected:
    FrameworkTest() : framework(app, [] { return std::make_unique<CMainFrame>(); }) {}

    void StartFrameWithTimer() {
        ASSERT_TRUE(framework.CreateMainWindow());
        framework.SetTickTimer(10);
        ASSERT_NE(framework.TickTimerId(), 0);
    }

    // Delivers a timer event as the event loop would, past the application's filters.
    bool SendTimer(QObject* target, int timerId) {
        QTimerEvent event(timerId);
        return QCoreApplication::sendEvent(target, &event);
    }

    QObject* Frame() { return static_cast<QObject*>(framework.MainWindow()); }

    RecordingApplication app;
    platform::QtFramework framework;
};

TEST_F(FrameworkTest, OnlyTheFramesChorusTimerIsATick) {
    StartFrameWithTimer();
    SendTimer(Frame(), framework.TickTimerId());
    EXPECT_EQ(app.previews, 1);
    EXPECT_EQ(app.last.message, platform::WM_TIMER);
    EXPECT_EQ(app.last.window, framework.MainWindow());

    // Another object's timer, and another timer of the frame, pass untouched.
    TimerTarget other;
    SendTimer(&other, framework.TickTimerId());
    EXPECT_EQ(other.received, 1);
    SendTimer(Frame(), framework.TickTimerId() + 1000);
    EXPECT_EQ(app.previews, 1);
}

TEST_F(FrameworkTest, MessageBoxIsAWarningWithOneOkButtonAndNoTickRunsWhileItIsOpen) {
    StartFrameWithTimer();
    QMessageBox* seen = nullptr;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    int previewsWhileOpen = -1;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (seen == nullptr) {
            return;
        }
        title = seen->windowTitle();
        text = seen->text();
        buttons = seen->standardButtons();
        EXPECT_EQ(seen->icon(), QMessageBox::Warning);
        SendTimer(Frame(), framework.TickTimerId());
        previewsWhileOpen = app.previews;
        seen->close();
    });
    framework.ShowMessageBox("Kirorin", "first\nsecond");
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(title, "Kirorin");
    EXPECT_EQ(text, "first\nsecond");
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(previewsWhileOpen, 0);
    SendTimer(Frame(), framework.TickTimerId());
    EXPECT_EQ(app.previews, 1);
}

TEST_F(FrameworkTest, CommandsGoOnToTheApplicationAndNoTickRunsOnceTheExitIsPosted) {
    StartFrameWithTimer();
    platform::CommandEvent settings(platform::ID_SETTINGS);
    QCoreApplication::sendEvent(Frame(), &settings);
    EXPECT_FALSE(framework.ExitRequested());
    framework.PostCommand(ID_EXIT);
    EXPECT_TRUE(framework.ExitRequested());
    // Before the posted command is even handled.
    SendTimer(Frame(), framework.TickTimerId());
    EXPECT_EQ(app.previews, 0);
}

TEST_F(FrameworkTest, StartUpFailureSkipsTheLoopAndStillShutsDown) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        return 0;
    };
    EXPECT_EQ(framework.Run(), 0);
    EXPECT_EQ(app.shutDowns, 1);
    EXPECT_EQ(framework.MainWindow(), nullptr);
}

TEST_F(FrameworkTest, ExitPostedDuringStartUpEndsTheLoopBeforeAnyTick) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        framework.SetTickTimer(10);
        framework.PostCommand(ID_EXIT);
        return 1;
    };
    EXPECT_EQ(framework.Run(), 0);
    EXPECT_EQ(app.previews, 0);
    EXPECT_EQ(app.shutDowns, 1);
    EXPECT_EQ(app.shutDownCode, 0);
    EXPECT_EQ(framework.MainWindow(), nullptr);
}

TEST_F(FrameworkTest, TerminationSignalEndsTheLoopLikeTheExitCommand) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        framework.SetTickTimer(10);
        std::raise(SIGTERM);
        return 1;
    };
    EXPECT_EQ(framework.Run(), 0);
    EXPECT_TRUE(framework.ExitRequested());
    EXPECT_EQ(app.shutDowns, 1);
    EXPECT_EQ(app.shutDownCode, 0);
}

TEST_F(FrameworkTest, TerminationSignalWhileAMessageBoxIsOpenEndsTheProgram) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        QTimer::singleShot(0, [] { std::raise(SIGINT); });
        framework.ShowMessageBox("Kirorin", "text");
        // What a failed save does after its box: the exit was handled inside the box's loop.
        framework.PostCommand(ID_EXIT);
        return 1;
    };
    EXPECT_EQ(framework.Run(), 0);
    EXPECT_EQ(app.shutDowns, 1);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
