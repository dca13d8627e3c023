#pragma once
// A seam's current implementation replaced for a scope (tests): the
// replacement goes where the seam looks for its current one, and what was
// there before comes back on destruction.
template <typename Interface>
class ScopedOverride {
public:
    ScopedOverride(Interface*& current, Interface& replacement) : current_(current), previous_(current)
    {
        current_ = &replacement;
    }
    ~ScopedOverride() { current_ = previous_; }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    Interface*& current_;
    Interface* previous_;
};
