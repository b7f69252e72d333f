// What the dialog shows for the stored settings, and what OK stores back.
#include "DialogDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <climits>
#include <cstdint>

namespace {

struct TimeFields {
    QString startHour, startMinute, endHour, endMinute;
    bool operator==(const TimeFields&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TimeFields& t) {
    return os << t.startHour.toStdString() << ":" << t.startMinute.toStdString() << " to "
              << t.endHour.toStdString() << ":" << t.endMinute.toStdString();
}

} // namespace

class DialogValues : public DialogTest {
protected:
    TimeFields Shown() const {
        return {startHour->text(), startMinute->text(), endHour->text(), endMinute->text()};
    }
    int EnabledFields() const {
        return int(startHour->isEnabled()) + int(startMinute->isEnabled()) +
               int(endHour->isEnabled()) + int(endMinute->isEnabled());
    }
};

TEST_F(DialogValues, OpensWithTheDefaultsAndOkKeepsThem) {
    const ChorusSettings defaults;
    dlg.m_settings = defaults;
    const int result = Run([&] {
        EXPECT_EQ(wariness->value(), 2);
        EXPECT_EQ(count->value(), 4);
        EXPECT_TRUE(allDay->isChecked());
        EXPECT_FALSE(timed->isChecked());
        EXPECT_EQ(Shown(), (TimeFields{"0", "0", "23", "59"}));
        EXPECT_EQ(EnabledFields(), 0);
        EXPECT_EQ(FocusedControl(), "1001");
        // Disabled arrows do nothing.
        ClickUpArrow(startHour);
        ClickDownArrow(endMinute);
        EXPECT_EQ(Shown(), (TimeFields{"0", "0", "23", "59"}));
        Click(ok);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.m_settings, defaults);
}

TEST_F(DialogValues, VolumeSliderStoresHundredAtTheTopAndOneAtTheBottom) {
    // The default volume (100) comes back unchanged, so the slider opened where its top stores it.
    const auto middleClickAt = [&](int y) {
        QTest::mouseClick(volume, Qt::MiddleButton, Qt::NoModifier, QPoint(volume->width() / 2, y));
    };
    Run([&] {
        middleClickAt(volume->height() - 2);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 1);
    Run([&] {
        middleClickAt(1);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 100);
}

TEST_F(DialogValues, VolumeSliderPagesByTwentyFive) {
    Run([&] {
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        ASSERT_EQ(FocusedControl(), "1003");
        Press(Qt::Key_PageUp); // already at the top
        Press(Qt::Key_PageDown);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 75);
    Run([&] {
        volume->setFocus();
        Press(Qt::Key_PageDown);
        Press(Qt::Key_PageDown);
        Press(Qt::Key_PageUp);
        Press(Qt::Key_Down);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 49);
    Run([&] {
        volume->setFocus();
        Press(Qt::Key_End);
        Press(Qt::Key_Up);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 2);
    dlg.m_settings.volume = 100;
    Run([&] {
        // A click on the channel below the handle, which sits at the top, pages down.
        QStyleOptionSlider option;
        option.initFrom(volume);
        option.orientation = Qt::Vertical;
        option.tickPosition = volume->tickPosition();
        option.minimum = volume->minimum();
        option.maximum = volume->maximum();
        const QRect groove = volume->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderGroove, volume);
        QTest::mouseClick(volume, Qt::LeftButton, Qt::NoModifier,
                          QPoint(groove.center().x(), groove.bottom() - 2));
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.volume, 75);
}

TEST_F(DialogValues, SlidersFollowTheArrowKeys) {
    Run([&] {
        Press(Qt::Key_Right); // wariness 2 -> 3
        Press(Qt::Key_Right); // stays at the end
        Press(Qt::Key_Tab);
        Press(Qt::Key_Left); // count 4 -> 3
        Press(Qt::Key_Home); // -> 1
        Press(Qt::Key_Right);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.wariness, 3);
    EXPECT_EQ(dlg.m_settings.cricketCount, 2);
    Run([&] {
        Press(Qt::Key_Home);
        Press(Qt::Key_Tab);
        Press(Qt::Key_End);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.wariness, 0);
    EXPECT_EQ(dlg.m_settings.cricketCount, 16);
}

TEST_F(DialogValues, RadioButtonsEnableAndDisableTheTimeFieldsKeepingTheirValues) {
    dlg.m_settings.startHour = 21;
    dlg.m_settings.startMinute = 30;
    dlg.m_settings.endHour = 6;
    dlg.m_settings.endMinute = 5;
    const int result = Run([&] {
        const TimeFields stored{"21", "30", "6", "5"};
        EXPECT_EQ(Shown(), stored);
        Click(timed);
        EXPECT_TRUE(timed->isChecked());
        EXPECT_FALSE(allDay->isChecked());
        EXPECT_EQ(EnabledFields(), 4);
        EXPECT_EQ(Shown(), stored);
        ClickUpArrow(startHour); // the arrows work now
        EXPECT_EQ(startHour->text(), "22");
        Click(allDay);
        EXPECT_EQ(EnabledFields(), 0);
        EXPECT_EQ(Shown(), (TimeFields{"22", "30", "6", "5"}));
        Click(ok);
    });
    EXPECT_EQ(result, 1);
    // All day, together with whatever the disabled fields hold.
    EXPECT_EQ(dlg.m_settings.scheduleMode, 0);
    EXPECT_EQ(dlg.m_settings.startHour, 22);
    EXPECT_EQ(dlg.m_settings.startMinute, 30);
    EXPECT_EQ(dlg.m_settings.endHour, 6);
    EXPECT_EQ(dlg.m_settings.endMinute, 5);
}

TEST_F(DialogValues, ArrowKeysSwitchTheRadioButtonsToo) {
    Run([&] {
        Click(timed);
        ASSERT_EQ(FocusedControl(), "1007");
        Press(Qt::Key_Up);
        EXPECT_TRUE(allDay->isChecked());
        EXPECT_EQ(EnabledFields(), 0);
        Press(Qt::Key_Down);
        EXPECT_TRUE(timed->isChecked());
        EXPECT_EQ(EnabledFields(), 4);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.scheduleMode, 1);
}

TEST_F(DialogValues, StoredScheduleModeTwoComesBackAsOne) {
    dlg.m_settings.scheduleMode = 2;
    Run([&] {
        EXPECT_TRUE(timed->isChecked());
        EXPECT_FALSE(allDay->isChecked());
        EXPECT_EQ(EnabledFields(), 4);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.scheduleMode, 1);
}

TEST_F(DialogValues, TimeFieldsWrapBothWays) {
    dlg.m_settings.scheduleMode = 1;
    dlg.m_settings.startHour = 23;
    dlg.m_settings.startMinute = 59;
    dlg.m_settings.endHour = 0;
    dlg.m_settings.endMinute = 0;
    Run([&] {
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        ASSERT_EQ(FocusedControl(), "1008");
        Press(Qt::Key_Up);
        EXPECT_EQ(startHour->text(), "0");
        Press(Qt::Key_Down);
        EXPECT_EQ(startHour->text(), "23");
        Press(Qt::Key_Up);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Up);
        EXPECT_EQ(startMinute->text(), "0");
        Press(Qt::Key_Down);
        EXPECT_EQ(startMinute->text(), "59");
        Press(Qt::Key_Up);
        Press(Qt::Key_Tab);
        Press(Qt::Key_Down);
        EXPECT_EQ(endHour->text(), "23");
        Press(Qt::Key_Tab);
        Press(Qt::Key_Down);
        EXPECT_EQ(endMinute->text(), "59");
        // The arrows wrap as the keys do.
        ClickUpArrow(endMinute);
        EXPECT_EQ(endMinute->text(), "0");
        ClickDownArrow(endMinute);
        ClickUpArrow(endHour);
        EXPECT_EQ(endHour->text(), "0");
        ClickDownArrow(endHour);
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.startHour, 0);
    EXPECT_EQ(dlg.m_settings.startMinute, 0);
    EXPECT_EQ(dlg.m_settings.endHour, 23);
    EXPECT_EQ(dlg.m_settings.endMinute, 59);
}

TEST_F(DialogValues, TypedTimesAreStored) {
    dlg.m_settings.scheduleMode = 1;
    Run([&] {
        ClickIntoField(startHour);
        Type("18");
        ClickIntoField(startMinute);
        Type("05");
        ClickIntoField(endHour);
        Type("3");
        ClickIntoField(endMinute);
        Type("45");
        // A field shows its number plainly once the focus leaves it.
        EXPECT_EQ(Shown(), (TimeFields{"18", "5", "3", "45"}));
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.startHour, 18);
    EXPECT_EQ(dlg.m_settings.startMinute, 5);
    EXPECT_EQ(dlg.m_settings.endHour, 3);
    EXPECT_EQ(dlg.m_settings.endMinute, 45);
}

TEST_F(DialogValues, EmptiedTimeFieldsYieldTheirLastValidValue) {
    dlg.m_settings.scheduleMode = 1;
    dlg.m_settings.startHour = 7;
    dlg.m_settings.endMinute = 42;
    Run([&] {
        ClickIntoField(startHour);
        Press(Qt::Key_Backspace);
        EXPECT_EQ(startHour->text(), "");
        ClickIntoField(endMinute);
        Press(Qt::Key_Delete);
        EXPECT_EQ(endMinute->text(), "");
        Click(ok); // the focus is still in the emptied end minute
    });
    EXPECT_EQ(dlg.m_settings.startHour, 7);
    EXPECT_EQ(dlg.m_settings.endMinute, 42);
    Run([&] {
        ClickIntoField(startHour);
        Press(Qt::Key_Backspace);
        Press(Qt::Key_Return); // OK is the default button
    });
    EXPECT_EQ(dlg.m_settings.startHour, 7);
}

TEST_F(DialogValues, TimeFieldsTakeNoOutOfRangeNumberAndNothingButDigits) {
    dlg.m_settings.scheduleMode = 1;
    dlg.m_settings.startHour = 7;
    dlg.m_settings.startMinute = 8;
    Run([&] {
        ClickIntoField(startHour);
        Type("99"); // the second 9 would make 99: refused
        EXPECT_EQ(startHour->text(), "9");
        ClickIntoField(startHour);
        Type("24");
        EXPECT_EQ(startHour->text(), "2");
        ClickIntoField(startMinute);
        for (const char* refused : {"-", "+", " ", "a", "１", "٣"}) {
            Type(QString::fromUtf8(refused));
            EXPECT_EQ(startMinute->text(), "8") << refused;
        }
        QApplication::clipboard()->setText(QStringLiteral("60"));
        Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(startMinute->text(), "8");
        QApplication::clipboard()->setText(QStringLiteral("3a"));
        Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(startMinute->text(), "8");
        Click(ok);
    });
    EXPECT_EQ(dlg.m_settings.startHour, 2);
    EXPECT_EQ(dlg.m_settings.startMinute, 8);
}

// A settings file written elsewhere can hold anything; each field is shown at the nearest end of
// its control's range, and the time fields first keep only their low 16 bits, read as signed.
struct OutOfRange {
    std::int32_t ChorusSettings::*field;
    std::int32_t stored;
    std::int32_t back;
    const char* name;
};

void PrintTo(const OutOfRange& c, std::ostream* os) {
    *os << c.name << " " << c.stored << " -> " << c.back;
}

class DialogOutOfRange : public DialogTest, public ::testing::WithParamInterface<OutOfRange> {};

TEST_P(DialogOutOfRange, ComesBackAtTheNearestEnd) {
    const OutOfRange& c = GetParam();
    dlg.m_settings.*(c.field) = c.stored;
    ChorusSettings expected = dlg.m_settings;
    expected.*(c.field) = c.back;
    const int result = Run([&] { Click(ok); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dlg.m_settings, expected);
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, DialogOutOfRange,
    ::testing::Values(OutOfRange{&ChorusSettings::volume, 0, 1, "volume"},
                      OutOfRange{&ChorusSettings::volume, -40, 1, "volume"},
                      OutOfRange{&ChorusSettings::volume, INT32_MIN, 1, "volume"},
                      OutOfRange{&ChorusSettings::volume, 101, 100, "volume"},
                      OutOfRange{&ChorusSettings::volume, INT32_MAX, 100, "volume"},
                      OutOfRange{&ChorusSettings::cricketCount, 20, 16, "cricketCount"},
                      OutOfRange{&ChorusSettings::cricketCount, 0, 1, "cricketCount"},
                      OutOfRange{&ChorusSettings::wariness, 4, 3, "wariness"},
                      OutOfRange{&ChorusSettings::wariness, -1, 0, "wariness"},
                      OutOfRange{&ChorusSettings::startHour, 65536 + 5, 5, "startHour"},
                      OutOfRange{&ChorusSettings::startHour, 24, 23, "startHour"},
                      OutOfRange{&ChorusSettings::startHour, 65536 * 3 + 30, 23, "startHour"},
                      OutOfRange{&ChorusSettings::startMinute, 0x1FFF0, 0, "startMinute"},
                      OutOfRange{&ChorusSettings::startMinute, 0x8000, 0, "startMinute"},
                      OutOfRange{&ChorusSettings::endHour, -1, 0, "endHour"},
                      OutOfRange{&ChorusSettings::endHour, INT32_MIN + 20, 20, "endHour"},
                      OutOfRange{&ChorusSettings::endMinute, 60, 59, "endMinute"},
                      OutOfRange{&ChorusSettings::endMinute, 0x7FFF, 59, "endMinute"},
                      OutOfRange{&ChorusSettings::endMinute, 65536 - 65536 * 2 + 44, 44,
                                 "endMinute"}));

TEST_F(DialogValues, OutOfRangeTimesShowAsTheyWillBeStored) {
    dlg.m_settings.startHour = 65536 + 5;
    dlg.m_settings.startMinute = -3;
    dlg.m_settings.endHour = 99;
    dlg.m_settings.endMinute = 65536 + 65535;
    Run([&] {
        EXPECT_EQ(Shown(), (TimeFields{"5", "0", "23", "0"}));
        Click(cancel);
    });
}
