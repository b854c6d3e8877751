// Locale-aware comparison that ignores letter case: an ICU collator for the user's locale
// (LC_ALL / LC_COLLATE / LANG, falling back to "de"), comparing the upper-cased strings at tertiary
// strength, so that only letter case is ignored. Every sorted list of the system that ignores
// equal strings compares with it.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

// <0, 0 or >0. Safe to call from any thread.
int CollateCompare(std::u16string_view a, std::u16string_view b);
// Binary sort key: two strings compare equal exactly when their keys are equal, and keys
// compare (as byte strings) in collation order.
std::string CollationKey(std::u16string_view s);
// Stable sort in collation order; keys are computed once per item.
void SortByCollation(std::vector<std::u16string>& items);

// The collation keys of many strings, computed on all processors and kept in one buffer.
class CollationKeyTable {
  public:
    // text(i, scratch) yields the i-th string (it may build it in scratch). With primaryOnly
    // only the part of each key that orders by base letters is kept: two strings get equal parts
    // exactly when they differ at most in accents, width or letter case.
    CollationKeyTable(std::size_t count,
                      const std::function<std::u16string_view(std::size_t, std::u16string&)>& text,
                      bool primaryOnly = false);
    std::size_t Size() const { return offsets_.size() - 1; }
    std::string_view Key(std::size_t i) const {
        return std::string_view(keys_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]);
    }

  private:
    std::string keys_;
    std::vector<std::size_t> offsets_;
};

// The indices of the items in collation order with every item that is equal under the collation
// to an earlier one left out: the order in which a SortedUniqueList that received the items one
// after the other holds them.
std::vector<std::size_t> UniqueCollationOrder(const std::vector<std::u16string_view>& items);
// ICU locale name the collator is made for, from the values of LC_ALL, LC_COLLATE and LANG
// (nullptr for an unset variable): the first non-empty one without encoding and modifier;
// "de" when that is "C", "POSIX" or nothing is set.
std::string CollationLocaleFor(const char* lcAll, const char* lcCollate, const char* lang);

// Sorted list of strings that ignores a string equal (under the collation) to one present.
class SortedUniqueList {
  public:
    // False (and nothing changes) when an equal string is already in the list.
    bool Add(std::u16string s);
    bool Contains(std::u16string_view s) const;
    bool Remove(std::u16string_view s);
    void Clear() { items_.clear(); }
    std::size_t Size() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }

    // Iteration in sorted order yields the strings.
    class const_iterator {
      public:
        using Inner = std::map<std::string, std::u16string>::const_iterator;
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::u16string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::u16string*;
        using reference = const std::u16string&;
        const_iterator() = default;
        explicit const_iterator(Inner it) : it_(it) {}
        const std::u16string& operator*() const { return it_->second; }
        const std::u16string* operator->() const { return &it_->second; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++it_;
            return old;
        }
        bool operator==(const const_iterator& o) const { return it_ == o.it_; }

      private:
        Inner it_;
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }
    std::vector<std::u16string> Items() const;

  private:
    std::map<std::string, std::u16string> items_;  // collation key -> first string added
};

}  // namespace vx::platform
