// Shows the settings dialog, in the user's language, with the default settings and prints the font
// it found and what the dialog returns.
#include "platform/QtTranslation.h"
#include "ui/CSettingsDlg.h"

#include <QApplication>
#include <QFontInfo>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::InstallTranslation();
    CSettingsDlg dialog;
    const QFontInfo font(dialog.font());
    std::printf("font %s, %d px; dialog %d x %d px\n", qPrintable(font.family()), font.pixelSize(),
                dialog.width(), dialog.height());
    std::fflush(stdout);
    const int result = dialog.DoModal();
    const ChorusSettings& s = dialog.m_settings;
    std::printf("result %d\nwariness %d\ncricketCount %d\nvolume %d\nscheduleMode %d\n"
                "start %d:%02d\nend %d:%02d\n",
                result, s.wariness, s.cricketCount, s.volume, s.scheduleMode, s.startHour,
                s.startMinute, s.endHour, s.endMinute);
    return 0;
}
