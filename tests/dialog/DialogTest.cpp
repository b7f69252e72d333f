// The settings dialog driven the way a person drives it: clicks and key presses on the open
// window. Runs on Qt's offscreen platform unless told otherwise (see tests/QtTestMain.cpp).
#include "ui/CSettingsDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>

namespace {

class Dialog : public ::testing::Test {
protected:
    // Runs the dialog modally; `steps` run once it is on screen and active, and should end it.
    int Run(const std::function<void()>& steps) {
        QTimer::singleShot(0, &dlg, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
            steps();
            if (dlg.isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dlg.reject();
            }
        });
        return dlg.DoModal();
    }
    // Keys go to whatever has the keyboard focus.
    template <class... Keys> void Press(Keys... keys) {
        (QTest::keyClick(QApplication::focusWidget(), keys), ...);
    }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // Puts the focus into a time field, selects all of it, types `text`.
    void TypeInto(QSpinBox* spin, const char* text) {
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, text);
    }
    // The controls the keyboard focus visits on `presses` presses of `key`, by their names
    // ("1001", "ok", ...).
    QString Walk(int presses, Qt::Key key) {
        QStringList visited;
        for (int i = 0; i < presses; ++i) {
            Press(key);
            const QWidget* w = QApplication::focusWidget(); // a time field's is its line edit
            visited << (w->parentWidget() == &dlg ? w : w->parentWidget())->objectName();
        }
        return visited.join(' ');
    }
    QString Shown() const {
        return QStringList{h1->text(), m1->text(), h2->text(), m2->text()}.join(' ');
    }

    CSettingsDlg dlg;
    QSlider* volume = dlg.findChild<QSlider*>("1003");
    QRadioButton* allDay = dlg.findChild<QRadioButton*>("1006");
    QSpinBox* h1 = dlg.findChild<QSpinBox*>("1008");
    QSpinBox* m1 = dlg.findChild<QSpinBox*>("1009");
    QSpinBox* h2 = dlg.findChild<QSpinBox*>("1010");
    QSpinBox* m2 = dlg.findChild<QSpinBox*>("1011");
    QPushButton* ok = dlg.findChild<QPushButton*>("ok");
};

// Up from the top and down from the bottom wrap round. An emptied field yields the value it
// showed before; typing refuses anything but digits, and a digit that would leave the range.
TEST_F(Dialog, TimeFieldsWrapAndKeepTheirLastValidValue) {
    ChorusSettings expected = dlg.m_settings = {
        .scheduleMode = 1, .startHour = 23, .startMinute = 8, .endHour = 9, .endMinute = 42};
    Run([&] {
        h1->setFocus();
        Press(Qt::Key_Up, Qt::Key_Down, Qt::Key_Down);
        TypeInto(m1, "-a 60");
        TypeInto(m2, "");
        Press(Qt::Key_Delete);
        EXPECT_EQ(Shown(), "22 6 9 ");
        Press(Qt::Key_Return); // from the emptied end minute, which keeps the focus
    });
    expected.startHour = 22, expected.startMinute = 6;
    EXPECT_EQ(dlg.m_settings, expected);
}

// Stored values come back unchanged, or at the nearest end of their control's range when it
// cannot show them; the time fields first keep only their low 16 bits, read as signed.
TEST_F(Dialog, StoredValuesComeBackAsShown) {
    const std::pair<ChorusSettings, ChorusSettings> cases[] = {
        // stored, back
        {{1000, -1, 20, 0, 2, 65536 + 5, 0x8000, INT32_MIN + 20, 0x7FFF},
         {1000, 0, 16, 1, 1, 5, 0, 20, 59}},
        {{7, 4, 0, INT32_MIN, 1, 24, 59, -1, -65536 + 44}, {7, 3, 1, 1, 1, 23, 59, 0, 44}},
        {{1000, 1, 9, 100, 1, 20, 15, 4, 30}, {1000, 1, 9, 100, 1, 20, 15, 4, 30}}};
    for (const auto& [stored, back] : cases) {
        dlg.m_settings = stored;
        EXPECT_EQ(Run([&] { Click(ok); }), 1);
        EXPECT_EQ(dlg.m_settings, back) << stored.volume;
    }
    // What the caller keeps depends on the result alone: Cancel and the close box do not accept.
    EXPECT_EQ(Run([&] { Click(dlg.findChild<QPushButton*>("cancel")); }), 2);
    EXPECT_EQ(Run([&] { dlg.windowHandle()->close(); }), 2);
}

// A fresh dialog holds the defaults (OK gives them back) with the first slider focused and the
// time fields disabled, so Tab skips them. The timed button (Space) enables them, all day (a
// click) disables them again and keeps their values. The volume slider is loudest at the top: a
// middle click at the bottom moves the handle straight there (1), Page Up steps a quarter up
// and Up one.
TEST_F(Dialog, OpensWithTheDefaultsTabsInOrderAndTheVolumeRisesUpwards) {
    const int result = Run([&] {
        EXPECT_EQ(Walk(10, Qt::Key_Tab), "1002 1006 1007 1003 ok cancel 1001 1002 1006 1007");
        Press(Qt::Key_Space);
        EXPECT_EQ(Walk(10, Qt::Key_Tab), "1008 1009 1010 1011 1003 ok cancel 1001 1002 1006");
        EXPECT_EQ(Walk(9, Qt::Key_Backtab), "1002 1001 cancel ok 1003 1011 1010 1009 1008");
        // The arrows sit at the right end of the field, up above down.
        QTest::mouseClick(h1, Qt::LeftButton, Qt::NoModifier, QPoint(h1->width() - 5, 4));
        Click(allDay);
        EXPECT_FALSE(h1->isEnabled() || m1->isEnabled() || h2->isEnabled() || m2->isEnabled());
        EXPECT_EQ(Shown(), "1 0 23 59");
        QTest::mouseClick(volume, Qt::MiddleButton, Qt::NoModifier,
                          {volume->width() / 2, volume->height() - 2});
        volume->setFocus();
        Press(Qt::Key_PageUp, Qt::Key_Up);
        Click(ok);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.m_settings, (ChorusSettings{.volume = 27, .startHour = 1}));
}

} // namespace
