#pragma once

#include "platform/dsound/dsound.h"

#include <atomic>
#include <new>
#include <utility>

namespace dsound {

// AddRef and Release for the DirectSound-shaped objects: made with one reference, deleted when
// the last is released.
template <class Interface> class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    RefCounted() = default;
    ~RefCounted() override = default;

private:
    std::atomic<ULONG> references{1};
};

// A new object, or nullptr when memory ran out (its constructor's allocations included), so
// that out-of-memory reaches the caller as DSERR_OUTOFMEMORY.
template <class T, class... Arguments> T* MakeObject(Arguments&&... arguments) noexcept {
    try {
        return new T(std::forward<Arguments>(arguments)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace dsound
