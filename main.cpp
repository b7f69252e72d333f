#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A tray program: closing the settings dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    return 0;
}
