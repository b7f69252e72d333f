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

struct FrameworkTest : ::testing::Test {
    // Delivers a timer event to the frame as the event loop would, past the application's filters.
    void Tick(int otherTimer = 0) {
        QTimerEvent event(framework.TickTimerId() + otherTimer);
        QCoreApplication::sendEvent(static_cast<QObject*>(framework.MainWindow()), &event);
    }

    RecordingApplication app;
    platform::QtFramework framework{app, [] { return std::make_unique<CMainFrame>(); }};
};

// Only the chorus timer ticks, and none while a message box is open, nor after the exit. The menu
// a tray host draws reports itself open and closed only through Qt's mapping of the host's
// DBusMenu calls: it holds the ticks until closed, chosen from, or its bound runs out.
TEST_F(FrameworkTest, OnlyTheChorusTimerTicksAndNotWhileABoxOrAHostMenuIsOpenNorAfterTheExit) {
    ASSERT_TRUE(framework.CreateMainWindow());
    framework.SetTickTimer(10);
    Tick();
    EXPECT_EQ(std::tuple(app.previews, app.last.message, app.last.window),
              std::tuple(1, platform::WM_TIMER, framework.MainWindow()));
    // Another timer of the frame passes untouched.
    Tick(1000);
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

    auto* frame = static_cast<CMainFrame*>(framework.MainWindow());
    // The host's menu is the frame's one menu; the bound on its suspension, a named timer.
    auto* menu = frame->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    auto* bound = frame->findChild<QTimer*>("hostMenuBound");
    ASSERT_TRUE(menu && bound);
    EXPECT_EQ(menu->defaultAction(), menu->actions().first());
    // Ticks that run after the host opens the menu and then does what the row says (the exits
    // are posted, and handled by no event loop here).
    const std::pair<int, std::function<void()>> rows[] = {
        {0, [] {}},
        {1, [&] { emit menu->aboutToHide(); }},
        // Opened twice (AboutToShow for each redraw), closed once.
        {1, [&] { emit menu->aboutToShow(), menu->aboutToHide(); }},
        // No "closed" ever comes.
        {1, [&] { QMetaObject::invokeMethod(bound, "timeout"); }},
        {1, [&] { menu->actions().last()->trigger(); }},
        // Closed, but the exit comes first: no tick, before the command is even handled.
        {0, [&] { emit menu->aboutToHide(), framework.PostCommand(ID_EXIT); }},
    };
    for (const auto& row : rows) {
        const int before = app.previews;
        emit menu->aboutToShow();
        row.second();
        Tick();
        EXPECT_EQ(app.previews - before, row.first) << "row " << &row - rows;
    }
}

// A termination signal while a message box is open during start-up closes the box and ends the
// run before any tick; ShutDown runs.
TEST_F(FrameworkTest, ASignalInABoxDuringStartUpEndsTheRunBeforeAnyTick) {
    app.startUp = [this] {
        framework.CreateMainWindow();
        framework.SetTickTimer(10);
        QTimer::singleShot(0, [] { std::raise(SIGINT); });
        framework.ShowMessageBox("Kirorin", "text");
        // What a failed save does after its box: the exit was handled inside the box's loop.
        return framework.PostCommand(ID_EXIT), 1;
    };
    EXPECT_EQ(std::tuple(framework.Run(), app.previews, app.shutDowns, framework.MainWindow()),
              std::tuple(0, 0, 1, static_cast<void*>(nullptr)));
}

} // namespace
