// A floor for the running program's cost: the same toolkit, timer and audio format, and nothing
// else. Ends on SIGTERM like the program.
#include <QApplication>
#include <QCursor>
#include <QSocketNotifier>
#include <QWidget>

#include <SDL.h>

#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2];

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void Silence(void*, Uint8* stream, int length) {
    std::memset(stream, 0, length);
}

class Frame : public QWidget {
public:
    Frame() { startTimer(10, Qt::PreciseTimer); }

    volatile int sink = 0;

protected:
    void timerEvent(QTimerEvent*) override {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
        localtime_r(&now, &parts);
        const QPoint cursor = QCursor::pos();
        sink = parts.tm_min + cursor.x() + cursor.y();
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        return 1;
    }
    std::signal(SIGTERM, OnSignal);
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [] { QApplication::quit(); });

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 1;
    }
    SDL_AudioSpec want{};
    want.freq = 48000;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 480;
    want.callback = Silence;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);

    Frame frame;
    const int code = QApplication::exec();
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return code;
}
