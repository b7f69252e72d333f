#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Whole-file access by descriptor. Results follow the system calls: a descriptor >= 0 or -1;
// a byte count, 0 at the end of the file, or -1; 0 or -1 from the rest. A failure leaves its
// cause in errno.

// Read-only; a symbolic link is refused and a FIFO is never waited on.
int OpenForReading(const char* path);
// Write-only, created with mode 0644 when missing, truncated when present; a symbolic link is
// refused (resolve it first) and a FIFO is never waited on.
int OpenForWriting(const char* path);
// A new, empty file in the folder of `path`, write-only, to be renamed over `path`: its name goes
// to `created`, its mode is that of the file at `path` (0644 when there is none). Fails with
// EACCES when the file at `path` exists but may not be written.
int CreateBeside(const char* path, std::string* created);
// One read call; it may return fewer bytes than asked for.
long Read(int fd, void* data, std::size_t size);
// One write call; it may store fewer bytes than asked for.
long Write(int fd, const void* data, std::size_t size);
// Waits until what was written is on the disk.
int Flush(int fd);
// Releases the descriptor whatever the result.
int Close(int fd);
// Replaces `to` with `from` in one step.
int Rename(const char* from, const char* to);
int Remove(const char* path);

// Reads until `size` bytes have arrived or the file ends; the count, or -1 on a read error.
long ReadFully(int fd, void* data, std::size_t size);
// The file a chain of symbolic links at `path` ends in (which may not exist yet); `path` itself
// when it is no link or cannot be read.
std::string ResolveLinks(const std::string& path);
// Whether anything is at `path`, a broken symbolic link included.
bool Exists(const std::string& path);
// Whether this process may write the file at `path` (following links).
bool Writable(const std::string& path);
// Makes the folder and any missing parents, each new one with mode 0700; 0 when it is there.
int MakeFolders(const std::string& path);

// The calls behind the functions above; tests swap in short or failing ones (Services::files).
struct FileCalls {
    int (*openForReading)(const char* path);
    int (*openForWriting)(const char* path);
    long (*read)(int fd, void* data, std::size_t size);
    long (*write)(int fd, const void* data, std::size_t size);
    int (*close)(int fd);
    int (*createBeside)(const char* path, std::string* created);
    int (*flush)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*remove)(const char* path);
};

// The operating system's calls.
FileCalls SystemFileCalls();

} // namespace platform
