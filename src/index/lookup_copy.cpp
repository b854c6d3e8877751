// The lookup file of a copied database file, made from the original's.
#include <cstddef>
#include <cstring>
#include <exception>

#include "index/detail/lookup_format.h"
#include "index/detail/lookup_samples.h"
#include "index/lookup_file.h"
#include "platform/hash64.h"
#include "textio/file_byte_stream.h"
#include "textio/text_file.h"

namespace vx::index {

bool CopyLookupFile(std::u16string_view databaseFile, std::u16string_view lookupFile,
                    std::u16string_view copiedDatabase, std::u16string_view copiedLookup) {
    using lookup::LookupHead;
    const std::optional<platform::ReadOnlyFile> original =
        platform::ReadOnlyFile::Open(databaseFile);
    const std::optional<platform::ReadOnlyFile> copy = platform::ReadOnlyFile::Open(copiedDatabase);
    if (!original || !copy || copy->Size() != original->Size() ||
        LookupFile::Open(lookupFile, *original) == nullptr) {
        return false;
    }
    std::string bytes;
    try {
        textio::ReadWholeFile(lookupFile, bytes);
    } catch (const std::exception&) {
        return false;
    }
    LookupHead head;
    if (bytes.size() < sizeof head) return false;
    std::memcpy(&head, bytes.data(), sizeof head);
    // The head was checked against the original just now; the copy must hold the same bytes.
    if (head.fileSize != bytes.size() || head.databaseSamples != lookup::DatabaseSamples(*copy)) {
        return false;
    }
    head.databaseModifiedNs = copy->ModifiedNs();
    head.headHash = platform::Hash64(&head, offsetof(LookupHead, headHash), 0);
    std::memcpy(bytes.data(), &head, sizeof head);
    textio::FileByteStream out(copiedLookup, textio::FileOpenMode::CreateWrite);
    out.Write(bytes.data(), bytes.size());
    out.Close();
    return true;
}

}  // namespace vx::index
