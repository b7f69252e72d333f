#pragma once

#include <QWidget>

// The hidden main frame: the application's main window, owner of the chorus timer. It is never
// shown.
class CMainFrame : public QWidget {
    Q_OBJECT

public:
    CMainFrame();

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
};
