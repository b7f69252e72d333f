#pragma once

#include "platform/QtFramework.h"
#include "ui/CSettingsDlg.h"

#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdint>
#include <optional>

class QMenu;
class QTimer;

// The hidden main frame: the application's main window, owner of the chorus timer and of the
// tray icon. It is never shown.
class CMainFrame : public QWidget {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void HandleCreate();
    void HandleDestroy();
    void HandleTrayNotify(QSystemTrayIcon::ActivationReason reason);
    void ShowTrayMenu();
    void CreateHostMenu();
    void HostMenuShown();
    void HostMenuHidden();
    void OpenSettings();
    void BringSettingsToFront();
    void ShowIconOnceTrayAvailable();
    void PostToSelf(std::uint32_t command);

    // 1 exactly while OpenSettings runs the dialog.
    std::int32_t m_settingsOpen = 0;
    // Built on the first opening and kept: its controls, font and text layout cost a few
    // megabytes that a run which never opens the settings does not need.
    std::optional<CSettingsDlg> m_settingsDlg;
    // Null once the icon is removed.
    QSystemTrayIcon* m_trayIcon = nullptr;
    // The menu a StatusNotifierItem host draws itself, from what the icon exports over DBusMenu.
    QMenu* m_hostMenu = nullptr;
    // Ends a tick suspension whose host never reported the menu closed.
    QTimer* m_hostMenuBound = nullptr;

    // The activation that opens the settings: a double click on an XEmbed tray, the primary
    // activation with a StatusNotifierItem host, which never reports double clicks.
    QSystemTrayIcon::ActivationReason m_openActivation = QSystemTrayIcon::DoubleClick;
    QTimer* m_trayWait = nullptr;
    // An exit that arrived while the dialog ran; taken up once the modal run has returned.
    bool m_exitAfterSettings = false;
    // The menu runs a loop of its own; a second request while it is open is dropped.
    bool m_menuOpen = false;
    std::optional<platform::QtFramework::TickSuspension> m_hostMenuNoTicks;
};
