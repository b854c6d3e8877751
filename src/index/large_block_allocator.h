// Allocator for the index's large arrays (entries, hash slots): blocks of 2 MB and more are
// aligned to 2 MB and offered to the kernel for transparent huge pages, which spares filing most
// of its TLB misses on randomly visited entries. Small blocks come from operator new as usual.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace vx::index {

template <typename T>
class LargeBlockAllocator {
  public:
    using value_type = T;

    LargeBlockAllocator() = default;
    template <typename U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage) {
            return static_cast<T*>(::operator new(bytes, std::align_val_t(alignof(T))));
        }
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* p = std::aligned_alloc(kHugePage, rounded);
        if (p == nullptr) throw std::bad_alloc();
        ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint; failure changes nothing
        return static_cast<T*>(p);
    }

    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < kHugePage) {
            ::operator delete(p, std::align_val_t(alignof(T)));
        } else {
            std::free(p);
        }
    }

    template <typename U>
    bool operator==(const LargeBlockAllocator<U>&) const {
        return true;
    }

  private:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
};

}  // namespace vx::index
