// A vector for large arrays that are about to be overwritten: resize leaves new elements
// uninitialised (filling a big mesh's arrays with zeros first costs as much as reading it), and
// blocks of 4 MB and more are mapped on transparent huge pages, which spares the process one page
// fault per 4 KB as the arrays fill.
#pragma once

#include <sys/mman.h>

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace d3dx {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;
inline constexpr std::size_t kHugeThreshold = std::size_t{4} << 20;

void* AllocateHuge(std::size_t bytes);
void FreeHuge(void* p, std::size_t bytes);

template <typename T>
struct UninitializedAllocator : std::allocator<T> {
    using value_type = T;
    template <typename U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <typename U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n * sizeof(T) >= kHugeThreshold) return static_cast<T*>(AllocateHuge(n * sizeof(T)));
        return std::allocator<T>::allocate(n);
    }
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) >= kHugeThreshold) return FreeHuge(p, n * sizeof(T));
        std::allocator<T>::deallocate(p, n);
    }

    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        if constexpr (sizeof...(Args) == 0) {
            ::new (static_cast<void*>(p)) U;
        } else {
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
        }
    }
};

template <typename T, typename U>
bool operator==(const UninitializedAllocator<T>&, const UninitializedAllocator<U>&) {
    return true;
}

template <typename T>
using RawVector = std::vector<T, UninitializedAllocator<T>>;

}  // namespace d3dx
