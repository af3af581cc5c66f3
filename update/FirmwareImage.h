#pragma once

#include <memory>
#include <utility>
#include <vector>

/// Leaves the bytes a resize adds unset, so that a buffer a read is about to fill is first
/// touched by the read instead of by a zero-fill that the read overwrites at once.
template <class T>
class UninitializedAllocator : public std::allocator<T> {
public:
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };

    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept
    {
    }

    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

/// The bytes of a firmware image. A resize adds bytes with no value: the loader reads into
/// them at once.
using FirmwareImage = std::vector<unsigned char, UninitializedAllocator<unsigned char>>;
