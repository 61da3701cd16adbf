#include "platform/d3dx/raw_vector.h"

namespace d3dx {

namespace {
std::size_t Rounded(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
}  // namespace

void* AllocateHuge(std::size_t bytes) {
    const std::size_t size = Rounded(bytes);
    // Mapped with one huge page to spare, then trimmed to a 2 MB boundary.
    void* raw =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto base = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (base + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > base) munmap(raw, aligned - base);
    const std::uintptr_t end = base + size + kHugePage;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void FreeHuge(void* p, std::size_t bytes) {
    munmap(p, Rounded(bytes));
}

}  // namespace d3dx
