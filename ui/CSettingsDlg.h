#pragma once

#include "settings/ChorusSettings.h"

#include <QDialog>

class QRadioButton;
class QSlider;
class QSpinBox;

// The settings dialog: a modal window that edits its own copy of the settings, m_settings.
// Each time-of-day field is one spin box, standing in for an edit with its up-down arrows.
class CSettingsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSettingsDlg(QWidget* parent = nullptr);

    // Runs the dialog modally, starting from m_settings. Returns 1 after OK (m_settings then
    // holds the dialog's values), 2 after Cancel, Escape or the close box (m_settings untouched),
    // and -1 when the dialog cannot run because it is already running.
    int DoModal();

    ChorusSettings m_settings;

protected:
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void BindControls();
    void InitControls();
    void Accept();
    void UpdateTimeFields();
    void CenterOnWorkArea();

    // The window manager's frame as last seen on screen: none before the first opening.
    QMargins m_frame;

    QRadioButton* m_allDayRadio = nullptr;
    QRadioButton* m_timedRadio = nullptr;
    QSpinBox* m_endMinuteSpin = nullptr;
    QSpinBox* m_startMinuteSpin = nullptr;
    QSpinBox* m_endHourSpin = nullptr;
    QSpinBox* m_startHourSpin = nullptr;
    QSlider* m_volumeSlider = nullptr;
    QSlider* m_countSlider = nullptr;
    QSlider* m_warinessSlider = nullptr;
};
