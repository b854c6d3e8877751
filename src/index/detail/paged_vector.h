// A growing array kept in fixed pages: appending never moves what is stored, so growth needs no
// second copy of the array (a std::vector briefly holds both its old and its new buffer).
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace vx::index {

template <typename T, std::size_t kPageBits = 12>
class PagedVector {
  public:
    static constexpr std::size_t kPageSize = std::size_t{1} << kPageBits;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](std::size_t i) { return pages_[i >> kPageBits][i & (kPageSize - 1)]; }
    const T& operator[](std::size_t i) const { return pages_[i >> kPageBits][i & (kPageSize - 1)]; }

    template <typename... Args>
    T& emplace_back(Args&&... args) {
        if ((size_ & (kPageSize - 1)) == 0 && (size_ >> kPageBits) == pages_.size()) {
            pages_.push_back(std::make_unique<T[]>(kPageSize));
        }
        T& slot = (*this)[size_++];
        slot = T(std::forward<Args>(args)...);
        return slot;
    }

    void clear() {
        decltype(pages_)().swap(pages_);
        size_ = 0;
    }

  private:
    std::vector<std::unique_ptr<T[]>> pages_;
    std::size_t size_ = 0;
};

}  // namespace vx::index
