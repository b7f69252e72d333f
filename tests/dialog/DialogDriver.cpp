#include "DialogDriver.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <ostream>

void DialogTest::SetUp() {
    wariness = dlg.findChild<QSlider*>("1001");
    count = dlg.findChild<QSlider*>("1002");
    volume = dlg.findChild<QSlider*>("1003");
    allDay = dlg.findChild<QRadioButton*>("1006");
    timed = dlg.findChild<QRadioButton*>("1007");
    startHour = dlg.findChild<QSpinBox*>("1008");
    startMinute = dlg.findChild<QSpinBox*>("1009");
    endHour = dlg.findChild<QSpinBox*>("1010");
    endMinute = dlg.findChild<QSpinBox*>("1011");
    ok = dlg.findChild<QPushButton*>("ok");
    cancel = dlg.findChild<QPushButton*>("cancel");
    for (QWidget* w :
         std::initializer_list<QWidget*>{wariness, count, volume, allDay, timed, startHour,
                                         startMinute, endHour, endMinute, ok, cancel}) {
        ASSERT_NE(w, nullptr);
    }
}

int DialogTest::Run(const std::function<void()>& steps) {
    bool started = false;
    QTimer::singleShot(0, &dlg, [&] {
        started = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        steps();
        if (dlg.isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dlg.reject();
        }
    });
    const int result = dlg.DoModal();
    EXPECT_TRUE(started);
    return result;
}

void DialogTest::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    QTest::keyClick(focus, key, modifiers);
}

void DialogTest::Type(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(focus, char(c.unicode()));
        } else {
            // Typed through an input method: text without a key of its own.
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void DialogTest::Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The arrows sit at the right end of the field, up above down.
void DialogTest::ClickUpArrow(QSpinBox* spin) {
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, QPoint(spin->width() - 5, 4));
}

void DialogTest::ClickDownArrow(QSpinBox* spin) {
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier,
                      QPoint(spin->width() - 5, spin->height() - 5));
}

void DialogTest::ClickIntoField(QSpinBox* spin) {
    auto* edit = spin->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(4, edit->height() / 2));
    Press(Qt::Key_A, Qt::ControlModifier);
}

QString DialogTest::FocusedControl() const {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (w->parentWidget() == &dlg) {
            return w->objectName();
        }
    }
    return QStringLiteral("(none)");
}

void PrintTo(const ChorusSettings& s, std::ostream* os) {
    *os << "{marker " << s.marker << ", wariness " << s.wariness << ", count " << s.cricketCount
        << ", volume " << s.volume << ", mode " << s.scheduleMode << ", " << s.startHour << ":"
        << s.startMinute << " to " << s.endHour << ":" << s.endMinute << "}";
}
