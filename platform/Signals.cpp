#include "platform/Signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace platform {
namespace {

int pipeEnds[2] = {-1, -1};

void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a pending request; losing this byte changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

int WatchTerminationSignals() {
    if (pipeEnds[0] >= 0) {
        return pipeEnds[0];
    }
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        return -1;
    }
    pipeEnds[0] = ends[0];
    pipeEnds[1] = ends[1];

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    return pipeEnds[0];
}

bool DrainTerminationSignals(int fd) {
    bool any = false;
    unsigned char bytes[64];
    for (;;) {
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got > 0) {
            any = true;
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return any;
    }
}

} // namespace platform
