#include "indexing/detail/xml_element_names.h"

#include <cstring>
#include <string>

#include "platform/utf8.h"

namespace vx::indexing {

void XmlElementNames::Add(const unsigned char* prefix, const unsigned char* localName) {
    if (!seen_.emplace(prefix, localName).second) return;
    std::u16string name;
    if (prefix != nullptr) {
        platform::AppendDecodedUtf8(reinterpret_cast<const char*>(prefix), name);
        name.push_back(u':');
    }
    platform::AppendDecodedUtf8(reinterpret_cast<const char*>(localName), name);
    // A name equal to one present under the comparison is ignored: the first spelling stays.
    names_.Add(std::move(name));
}

void XmlElementNames::DeliverSorted(XmlTextSink& sink) const {
    for (const auto& name : names_) sink.Entry(name);
}

}  // namespace vx::indexing
