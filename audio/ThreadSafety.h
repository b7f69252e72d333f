#pragma once

#include <mutex>

// Clang's thread-safety analysis (-Wthread-safety) checks these; other compilers ignore them.
#if defined(__clang__)
#define KIRORIN_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define KIRORIN_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) KIRORIN_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY KIRORIN_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) KIRORIN_THREAD_ANNOTATION(guarded_by(x))
#define REQUIRES(...) KIRORIN_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) KIRORIN_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) KIRORIN_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define EXCLUDES(...) KIRORIN_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))

namespace audio {

// std::mutex with the annotations the analysis needs.
class CAPABILITY("mutex") Mutex {
public:
    void Lock() ACQUIRE() { mutex.lock(); }
    void Unlock() RELEASE() { mutex.unlock(); }

private:
    std::mutex mutex;
};

class SCOPED_CAPABILITY MutexLock {
public:
    explicit MutexLock(Mutex& held) ACQUIRE(held) : mutex(held) { mutex.Lock(); }
    ~MutexLock() RELEASE() { mutex.Unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex& mutex;
};

} // namespace audio
