#pragma once

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP into bytes (the signal numbers) on a non-blocking pipe, so
// that the event loop can end the program the ordinary way. Returns the pipe's read end, the
// same one on every call, or -1 when the pipe cannot be made.
int WatchTerminationSignals();

// Reads and discards what is waiting on the pipe; true when at least one signal had arrived.
bool DrainTerminationSignals(int fd);

} // namespace platform
