// How the dialog opens, moves the focus and ends.
#include "DialogDriver.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QWindow>

#include <string>
#include <vector>

namespace {

ChorusSettings Stored() {
    ChorusSettings s;
    s.wariness = 1;
    s.cricketCount = 9;
    s.volume = 60;
    s.scheduleMode = 1;
    s.startHour = 20;
    s.startMinute = 15;
    s.endHour = 4;
    s.endMinute = 30;
    return s;
}

} // namespace

enum class Dismissal { CancelButton, EscapeKey, CloseBox };

const char* NameOf(Dismissal way) {
    switch (way) {
    case Dismissal::CancelButton:
        return "CancelButton";
    case Dismissal::EscapeKey:
        return "EscapeKey";
    case Dismissal::CloseBox:
        return "CloseBox";
    }
    return "unknown";
}

void PrintTo(Dismissal way, std::ostream* os) {
    *os << NameOf(way);
}

class DialogDismissal : public DialogTest, public ::testing::WithParamInterface<Dismissal> {};

TEST_P(DialogDismissal, ChangesNothing) {
    const ChorusSettings stored = Stored();
    dlg.m_settings = stored;
    const int result = Run([&] {
        Press(Qt::Key_Left);
        Press(Qt::Key_Tab);
        Press(Qt::Key_End);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Up);
        Click(allDay);
        volume->setFocus();
        Press(Qt::Key_PageDown);
        switch (GetParam()) {
        case Dismissal::CancelButton:
            Click(cancel);
            break;
        case Dismissal::EscapeKey:
            Press(Qt::Key_Escape);
            break;
        case Dismissal::CloseBox:
            // What the window manager's close button asks for.
            dlg.windowHandle()->close();
            break;
        }
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(dlg.m_settings, stored);
    EXPECT_FALSE(dlg.isVisible());
}

INSTANTIATE_TEST_SUITE_P(AllWays, DialogDismissal,
                         ::testing::Values(Dismissal::CancelButton, Dismissal::EscapeKey,
                                           Dismissal::CloseBox),
                         [](const ::testing::TestParamInfo<Dismissal>& param) {
                             return std::string(NameOf(param.param));
                         });

TEST_F(DialogTest, EnterPressesOk) {
    Run([&] {
        Press(Qt::Key_Right);
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(dlg.m_settings.wariness, 3);
    const int result = Run([&] {
        Press(Qt::Key_Tab);
        Press(Qt::Key_Left);
        Press(Qt::Key_Enter); // the keypad's
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.m_settings.cricketCount, 3);
}

TEST_F(DialogTest, EveryRunStartsAgainFromTheSettings) {
    const ChorusSettings stored = Stored();
    dlg.m_settings = stored;
    Run([&] {
        Press(Qt::Key_Home);
        Click(allDay);
        ClickIntoField(startHour); // disabled now: stays as it is
        endHour->setEnabled(true); // left over as if from a broken run
        Click(cancel);
    });
    ASSERT_EQ(dlg.m_settings, stored);
    dlg.m_settings.scheduleMode = 0;
    dlg.m_settings.startMinute = 44;
    const int result = Run([&] {
        EXPECT_EQ(FocusedControl(), "1001");
        EXPECT_EQ(wariness->value(), 1);
        EXPECT_TRUE(allDay->isChecked());
        EXPECT_FALSE(endHour->isEnabled());
        EXPECT_EQ(startMinute->text(), "44");
        Click(timed);
        ClickIntoField(startMinute);
        Press(Qt::Key_Backspace); // left empty by a cancelled run
        Click(cancel);
    });
    EXPECT_EQ(result, 2);
    Run([&] {
        EXPECT_EQ(FocusedControl(), "1001");
        EXPECT_EQ(startMinute->text(), "44");
        EXPECT_TRUE(allDay->isChecked());
        Click(ok);
    });
    ChorusSettings expected = stored;
    expected.scheduleMode = 0;
    expected.startMinute = 44;
    EXPECT_EQ(dlg.m_settings, expected);
}

TEST_F(DialogTest, ASecondRunWhileOpenIsRefused) {
    int inner = 0;
    const int result = Run([&] {
        inner = dlg.DoModal();
        EXPECT_TRUE(dlg.isVisible());
        Press(Qt::Key_Left);
        Click(ok);
    });
    EXPECT_EQ(inner, -1);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.m_settings.wariness, 1);
}

// Like the tray icon, which must still answer while the dialog runs.
TEST_F(DialogTest, LeavesOtherWindowsWorking) {
    QPushButton other(QStringLiteral("other"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    int clicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++clicks; });
    Run([&] {
        // Through the window system, where modal blocking happens.
        QTest::mouseClick(other.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          other.rect().center());
        Click(ok);
    });
    EXPECT_EQ(clicks, 1);
}

TEST_F(DialogTest, OpensCentredOnTheWorkArea) {
    Run([&] {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = dlg.frameGeometry();
        EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 1) << frame.x();
        EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 1) << frame.y();
        Click(cancel);
    });
}

class DialogTabOrder : public DialogTest {
protected:
    // Presses Tab (or Shift+Tab) `presses` times and names where the focus went each time.
    std::vector<std::string> Walk(int presses, Qt::KeyboardModifiers modifiers) {
        std::vector<std::string> visited;
        for (int i = 0; i < presses; ++i) {
            Press(modifiers == Qt::NoModifier ? Qt::Key_Tab : Qt::Key_Backtab, modifiers);
            visited.push_back(FocusedControl().toStdString());
        }
        return visited;
    }
};

TEST_F(DialogTabOrder, VisitsTheEnabledControlsInOrder) {
    dlg.m_settings.scheduleMode = 1;
    Run([&] {
        ASSERT_EQ(FocusedControl(), "1001");
        EXPECT_EQ(Walk(9, Qt::NoModifier),
                  (std::vector<std::string>{"1002", "1008", "1009", "1010", "1011", "1003", "ok",
                                            "cancel", "1001"}));
        EXPECT_EQ(Walk(9, Qt::ShiftModifier),
                  (std::vector<std::string>{"cancel", "ok", "1003", "1011", "1010", "1009", "1008",
                                            "1002", "1001"}));
        Click(cancel);
    });
    dlg.m_settings.scheduleMode = 0;
    Run([&] {
        // The disabled time fields and the radio buttons are no tab stops.
        EXPECT_EQ(Walk(5, Qt::NoModifier),
                  (std::vector<std::string>{"1002", "1003", "ok", "cancel", "1001"}));
        Click(cancel);
    });
}

TEST_F(DialogTabOrder, TabLeavesAClickedRadioButtonForTheFirstTimeField) {
    Run([&] {
        Click(timed);
        ASSERT_EQ(FocusedControl(), "1007");
        EXPECT_EQ(Walk(1, Qt::NoModifier), (std::vector<std::string>{"1008"}));
        Click(cancel);
    });
}
