#include "ui/CMainFrame.h"

#include "app/CChorusApp.h"
#include "platform/CommandEvent.h"
#include "platform/QtFramework.h"
#include "res/Strings.h"
#include "res/menu131.h"
#include "ui/ApplicationIcon.h"
#include "ui/TrayProtocol.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>

#include <optional>

namespace {

QString AppTitle() {
    const std::string_view title = LoadString(kIdsAppTitle);
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

// Qt notices neither an XEmbed tray nor a StatusNotifierItem host that starts after the program.
constexpr int kTrayRetryMilliseconds = 2000;

// Some hosts report an opened menu but never its closing (Xfce's panel reports only a chosen
// entry): the ticks come back after this long. A two-entry menu is read within it, and the mouse
// movement that opened the menu has hushed the crickets for a while anyway.
constexpr int kHostMenuBoundMilliseconds = 10000;

// Menu 131, the settings entry the default (bold where Qt draws the menu).
void FillTrayMenu(QMenu& menu) {
    for (const MenuItem& item : trayMenu131) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QCoreApplication::translate(trayMenuContext, item.text));
        action->setData(item.command);
        if (item.command == platform::ID_SETTINGS) {
            menu.setDefaultAction(action);
        }
    }
}

platform::QtFramework* TheQtFramework() {
    return dynamic_cast<platform::QtFramework*>(platform::Installed().framework);
}

} // namespace

CMainFrame::CMainFrame() {
    setWindowTitle(AppTitle());
    HandleCreate();
}

CMainFrame::~CMainFrame() {
    HandleDestroy();
}

void CMainFrame::HandleCreate() {
    m_openActivation = ui::StatusNotifierHostRegistered() ? QSystemTrayIcon::Trigger
                                                          : QSystemTrayIcon::DoubleClick;
    m_trayIcon = new QSystemTrayIcon(ui::ApplicationIcon(), this);
    m_trayIcon->setToolTip(AppTitle());
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &CMainFrame::HandleTrayNotify);
    CreateHostMenu();
    if (m_openActivation == QSystemTrayIcon::Trigger) {
        // Exported over DBusMenu. Not on an XEmbed tray, where Qt would pop it up on the press
        // besides the menu ShowTrayMenu opens.
        m_trayIcon->setContextMenu(m_hostMenu);
    }
    ShowIconOnceTrayAvailable();
}

// The host draws this menu and reports only its events, which Qt turns into the menu's signals:
// AboutToShow into aboutToShow, the "closed" event into aboutToHide, "clicked" into a trigger.
void CMainFrame::CreateHostMenu() {
    m_hostMenu = new QMenu(this);
    FillTrayMenu(*m_hostMenu);
    connect(m_hostMenu, &QMenu::triggered, this, [this](QAction* action) {
        HostMenuHidden();
        PostToSelf(action->data().toUInt());
    });
    m_hostMenuBound = new QTimer(this);
    m_hostMenuBound->setObjectName("hostMenuBound");
    m_hostMenuBound->setSingleShot(true);
    connect(m_hostMenuBound, &QTimer::timeout, this, &CMainFrame::HostMenuHidden);
    connect(m_hostMenu, &QMenu::aboutToShow, this, &CMainFrame::HostMenuShown);
    connect(m_hostMenu, &QMenu::aboutToHide, this, &CMainFrame::HostMenuHidden);
}

void CMainFrame::HostMenuShown() {
    platform::QtFramework* framework = TheQtFramework();
    if (!m_hostMenuNoTicks && framework != nullptr) {
        m_hostMenuNoTicks.emplace(*framework);
    }
    m_hostMenuBound->start(kHostMenuBoundMilliseconds);
}

void CMainFrame::HostMenuHidden() {
    m_hostMenuBound->stop();
    m_hostMenuNoTicks.reset();
}

void CMainFrame::ShowIconOnceTrayAvailable() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_trayIcon->show();
        if (m_trayWait != nullptr) {
            m_trayWait->stop();
        }
        return;
    }
    if (m_trayWait == nullptr) {
        m_trayWait = new QTimer(this);
        connect(m_trayWait, &QTimer::timeout, this, &CMainFrame::ShowIconOnceTrayAvailable);
        m_trayWait->start(kTrayRetryMilliseconds);
    }
}

void CMainFrame::HandleDestroy() {
    if (m_trayWait != nullptr) {
        m_trayWait->stop();
    }
    if (m_trayIcon != nullptr) {
        m_trayIcon->hide();
        delete m_trayIcon;
        m_trayIcon = nullptr;
    }
    m_hostMenuNoTicks.reset();
}

void CMainFrame::HandleTrayNotify(QSystemTrayIcon::ActivationReason reason) {
    if (reason == m_openActivation) {
        if (m_settingsOpen != 0) {
            BringSettingsToFront();
        } else {
            PostToSelf(platform::ID_SETTINGS);
        }
    } else if (reason == QSystemTrayIcon::Context) {
        // Not inside the tray's mouse handler or a D-Bus call: the menu runs a loop of its own.
        QMetaObject::invokeMethod(this, &CMainFrame::ShowTrayMenu, Qt::QueuedConnection);
    }
}

void CMainFrame::ShowTrayMenu() {
    if (m_menuOpen) {
        return;
    }
    QMenu menu;
    FillTrayMenu(menu);
    QAction* chosen = nullptr;
    {
        m_menuOpen = true;
        platform::QtFramework* framework = TheQtFramework();
        std::optional<platform::QtFramework::TickSuspension> noTicks;
        if (framework != nullptr) {
            noTicks.emplace(*framework);
        }
        chosen = menu.exec(QCursor::pos());
        m_menuOpen = false;
    }
    if (chosen != nullptr) {
        PostToSelf(chosen->data().toUInt());
    }
}

void CMainFrame::OpenSettings() {
    // A second settings command while the dialog runs must not start another modal run.
    if (m_settingsOpen != 0) {
        BringSettingsToFront();
        return;
    }
    CChorusApp& app = TheApp();
    if (!m_settingsDlg) {
        m_settingsDlg.emplace();
    }
    m_settingsDlg->m_settings = app.settings;
    m_settingsOpen = 1;
    if (m_settingsDlg->DoModal() == 1) {
        app.settings = m_settingsDlg->m_settings;
        app.SaveSettings();
        app.StopChorus();
        app.CheckActivityWindow();
    }
    m_settingsOpen = 0;
    if (m_exitAfterSettings) {
        m_exitAfterSettings = false;
        PostToSelf(platform::ID_EXIT);
    }
}

void CMainFrame::BringSettingsToFront() {
    m_settingsDlg->raise();
    m_settingsDlg->activateWindow();
}

void CMainFrame::PostToSelf(std::uint32_t command) {
    QCoreApplication::postEvent(this, new platform::CommandEvent(command));
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() != platform::CommandEvent::EventType()) {
        return QWidget::event(event);
    }
    const std::uint32_t command = static_cast<platform::CommandEvent*>(event)->Command();
    if (command == platform::ID_SETTINGS) {
        OpenSettings();
        return true;
    }
    if (command == platform::ID_EXIT && m_settingsOpen != 0) {
        // The frame holds the dialog: end it as cancelled, and exit once its modal run is over.
        m_exitAfterSettings = true;
        m_settingsDlg->reject();
        return true;
    }
    // The application takes the rest (ID_EXIT).
    return QCoreApplication::sendEvent(QCoreApplication::instance(), event);
}

// Ticks are taken before dispatch; one that reaches the frame (while a message box or the tray
// menu is open, or after the exit) is dropped.
void CMainFrame::timerEvent(QTimerEvent*) {
}
