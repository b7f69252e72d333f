#pragma once

// Installs a replacement through one of the platform's Set* hooks for its own lifetime, and puts
// back what was there before, so that no test leaves a fake behind for the next one.
// Example: ScopedOverride<platform::SetCursorFunction> cursor{&FakeCursor};
template <auto Set> class ScopedOverride {
    template <class R, class A> static R ValueOf(R (*)(A));
    using Value = decltype(ValueOf(Set));

public:
    explicit ScopedOverride(const Value& replacement) : previous(Set(replacement)) {}
    ~ScopedOverride() { Set(previous); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    Value previous;
};
