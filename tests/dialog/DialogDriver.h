#pragma once

#include "settings/CSettingsDlg.h"

#include <QString>
#include <Qt>

#include <functional>

#include <gtest/gtest.h>

class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWidget;

// Drives the settings dialog the way a person does: clicks and key presses on the open window.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs the dialog modally; `steps` run once it is on screen and active, and should end it.
    int Run(const std::function<void()>& steps);

    // Presses a key on whatever has the keyboard focus.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);
    void Click(QWidget* widget);
    void ClickUpArrow(QSpinBox* spin);
    void ClickDownArrow(QSpinBox* spin);
    // Puts the focus into a time field by clicking its text and selects all of it.
    void ClickIntoField(QSpinBox* spin);

    // The control that holds the keyboard focus, by its name ("1001", "ok", ...).
    QString FocusedControl() const;

    CSettingsDlg dlg;
    QSlider* wariness = nullptr;
    QSlider* count = nullptr;
    QSlider* volume = nullptr;
    QRadioButton* allDay = nullptr;
    QRadioButton* timed = nullptr;
    QSpinBox* startHour = nullptr;
    QSpinBox* startMinute = nullptr;
    QSpinBox* endHour = nullptr;
    QSpinBox* endMinute = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

void PrintTo(const ChorusSettings& s, std::ostream* os);
