#pragma once

#include <cstddef>

namespace platform {

// Whole-file access by descriptor. Results follow the system calls: a descriptor >= 0 or -1;
// a byte count, 0 at the end of the file, or -1; 0 or -1 from Close.

// Read-only; a symbolic link is refused and a FIFO is never waited on.
int OpenForReading(const char* path);
// Write-only, created with mode 0644 when missing, truncated when present; a symbolic link is
// refused so that the file beside the program never redirects a write elsewhere, and a FIFO is
// never waited on.
int OpenForWriting(const char* path);
// One read call; it may return fewer bytes than asked for.
long Read(int fd, void* data, std::size_t size);
// One write call; it may store fewer bytes than asked for.
long Write(int fd, const void* data, std::size_t size);
// Releases the descriptor whatever the result.
int Close(int fd);

// Reads until `size` bytes have arrived or the file ends; the count, or -1 on a read error.
long ReadFully(int fd, void* data, std::size_t size);

// The calls behind the functions above; tests swap in short or failing ones.
struct FileCalls {
    int (*openForReading)(const char* path);
    int (*openForWriting)(const char* path);
    long (*read)(int fd, void* data, std::size_t size);
    long (*write)(int fd, const void* data, std::size_t size);
    int (*close)(int fd);
};

// The operating system's calls.
FileCalls SystemFileCalls();
// Returns the previous calls; a null member falls back to the system's call.
FileCalls SetFileCalls(const FileCalls& calls);

} // namespace platform
