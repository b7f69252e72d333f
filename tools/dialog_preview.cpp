// Shows the settings dialog with the default settings and prints what it returns.
#include "settings/CSettingsDlg.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    CSettingsDlg dialog;
    const int result = dialog.DoModal();
    const ChorusSettings& s = dialog.m_settings;
    std::printf("result %d\nwariness %d\ncricketCount %d\nvolume %d\nscheduleMode %d\n"
                "start %d:%02d\nend %d:%02d\n",
                result, s.wariness, s.cricketCount, s.volume, s.scheduleMode, s.startHour,
                s.startMinute, s.endHour, s.endMinute);
    return 0;
}
