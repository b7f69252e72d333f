#include "platform/QtFramework.h"
#include "ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QTimerEvent>

#include <csignal>
#include <functional>
#include <memory>
#include <tuple>

namespace {

using platform::ID_EXIT;

struct RecordingApplication : platform::Application {
    int StartUp() override { return startUp(); }
    int PreviewMessage(const platform::Message& message) override {
        return last = message, ++previews, 1;
    }
    int ShutDown(int exitCode) override { return ++shutDowns, exitCode; }

    std::function<int()> startUp;
    int previews = 0, shutDowns = 0;
    platform::Message last;
};

struct TimerTarget : QObject {
    int received = 0;
    void timerEvent(QTimerEvent*) override { ++received; }
};

struct FrameworkTest : ::testing::Test {
    // Delivers a timer event as the event loop would, past the application's filters.
    void Tick(QObject* target = nullptr, int otherTimer = 0) {
        QTimerEvent event(framework.TickTimerId() + otherTimer);
        QCoreApplication::sendEvent(target ? target : (QObject*)framework.MainWindow(), &event);
    }

    RecordingApplication app;
    platform::QtFramework framework{app, [] { return std::make_unique<CMainFrame>(); }};
};

TEST_F(FrameworkTest, OnlyTheChorusTimerTicksAndNeitherWhileABoxIsOpenNorAfterTheExit) {
    ASSERT_TRUE(framework.CreateMainWindow());
    framework.SetTickTimer(10);
    Tick();
    EXPECT_EQ(std::tuple(app.previews, app.last.message, app.last.window),
              std::tuple(1, platform::WM_TIMER, framework.MainWindow()));
    // Another object's timer, and another timer of the frame, pass untouched.
    TimerTarget other;
    Tick(&other);
    EXPECT_EQ(other.received, 1);
    Tick(nullptr, 1000);
    EXPECT_EQ(app.previews, 1);

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle() + "|" + box->text(), "Kirorin|first\nsecond");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        Tick();
        EXPECT_EQ(app.previews, 1);
        box->close();
    });
    framework.ShowMessageBox("Kirorin", "first\nsecond");
    EXPECT_TRUE(seen);
    Tick();
    EXPECT_EQ(app.previews, 2);

    framework.PostCommand(ID_EXIT);
    // Before the posted command is even handled.
    Tick();
    EXPECT_EQ(app.previews, 2);
}

// The menu a tray host draws reports itself open and closed only through Qt's mapping of the
// host's DBusMenu calls; each row: what the host does after opening it, whether a tick then runs.
TEST_F(FrameworkTest, AHostDrawnMenuHoldsTheTicksUntilClosedChosenOrTheBoundRunsOut) {
    ASSERT_TRUE(framework.CreateMainWindow());
    framework.SetTickTimer(10);
    auto* frame = static_cast<CMainFrame*>(framework.MainWindow());
    // The host's menu is the frame's one menu; the bound on its suspension, a named timer.
    auto* menu = frame->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    auto* bound = frame->findChild<QTimer*>("hostMenuBound");
    ASSERT_TRUE(menu && bound);
    EXPECT_EQ(menu->defaultAction(), menu->actions().first());

    // Ticks that run after the host opens the menu and then does what the row says.
    const std::pair<int, std::function<void()>> rows[] = {
        {0, [] {}},
        {1, [&] { emit menu->aboutToHide(); }},
        // Opened twice (AboutToShow for each redraw), closed once.
        {1, [&] { emit menu->aboutToShow(), menu->aboutToHide(); }},
        // No "closed" ever comes.
        {1, [&] { QMetaObject::invokeMethod(bound, "timeout"); }},
        {1, [&] { menu->actions().last()->trigger(); }},
    };
    for (const auto& row : rows) {
        const int before = app.previews;
        emit menu->aboutToShow();
        row.second();
        Tick();
        EXPECT_EQ(app.previews - before, row.first) << "row " << &row - rows;
    }
    // The exit entry posted the exit.
    QCoreApplication::sendPostedEvents(frame);
    EXPECT_TRUE(framework.ExitRequested());
}

// A failed start-up skips the loop; the exit command or a termination signal during start-up
// (also one inside a message box) ends it before any tick. ShutDown runs every time.
class LoopEnd : public FrameworkTest, public ::testing::WithParamInterface<int> {};

TEST_P(LoopEnd, BeforeAnyTickAndShutDownRuns) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        framework.SetTickTimer(10);
        if (GetParam() == 1) {
            framework.PostCommand(ID_EXIT);
        } else if (GetParam() == 2) {
            std::raise(SIGTERM);
        } else if (GetParam() == 3) {
            QTimer::singleShot(0, [] { std::raise(SIGINT); });
            framework.ShowMessageBox("Kirorin", "text");
            // What a failed save does after its box: the exit was handled inside the box's loop.
            framework.PostCommand(ID_EXIT);
        }
        return GetParam() == 0 ? 0 : 1;
    };
    const int exitCode = framework.Run();
    EXPECT_EQ(std::tuple(exitCode, app.previews, app.shutDowns, framework.MainWindow()),
              std::tuple(0, 0, 1, static_cast<void*>(nullptr)));
}

INSTANTIATE_TEST_SUITE_P(FailedStartExitSignalSignalInBox, LoopEnd, ::testing::Range(0, 4));

} // namespace
