#pragma once

#include <utility>

// Owns one reference to a DirectSound-shaped object. reset() releases it exactly once and leaves
// the handle empty, so "released once, field set to none" holds by construction.
template <class T> class DsPtr {
public:
    DsPtr() = default;
    explicit DsPtr(T* object) : object_(object) {}
    DsPtr(const DsPtr&) = delete;
    DsPtr& operator=(const DsPtr&) = delete;
    DsPtr(DsPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    DsPtr& operator=(DsPtr&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~DsPtr() { reset(); }

    void reset() {
        if (T* object = std::exchange(object_, nullptr)) {
            object->Release();
        }
    }

    // For creation calls that write a new reference: the old one is released first.
    T** put() {
        reset();
        return &object_;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
