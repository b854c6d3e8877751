// The distinct element names of one document, sorted by the locale's comparison with letter
// case ignored; of names that differ only in case the first one met is kept.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_set>

#include "indexing/xml_text.h"
#include "platform/collation.h"

namespace vx::indexing {

class XmlElementNames {
  public:
    // prefix may be null. The parser hands out names interned per document, so a spelling met
    // before is recognised by its pointers without building the name again.
    void Add(const unsigned char* prefix, const unsigned char* localName);
    void DeliverSorted(XmlTextSink& sink) const;
    std::size_t Size() const { return names_.Size(); }

  private:
    struct PairHash {
        std::size_t operator()(const std::pair<const void*, const void*>& p) const {
            return std::hash<const void*>{}(p.first) * 31 + std::hash<const void*>{}(p.second);
        }
    };
    std::unordered_set<std::pair<const void*, const void*>, PairHash> seen_;
    platform::SortedUniqueList names_;
};

}  // namespace vx::indexing
