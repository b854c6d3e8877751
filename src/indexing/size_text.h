// The texts of the progress display: size text, elapsed-time text and the shortened folder of
// the current-file field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::indexing {

// "n Bytes" up to 1024, "n KB" up to 1 MB, "n MB" up to 1 GB, "n GB" beyond (truncating).
std::u16string SizeText(int64_t bytes);

// Hours ":" minutes ":" seconds without leading zeros (3725 -> "1:2:5").
std::u16string ElapsedText(int64_t seconds);
// The elapsed-time text of a run that started at startTickMs (SteadyTickMs), counted in whole
// seconds of the tick count as the elapsed-time display counts them.
std::u16string ElapsedSince(int64_t startTickMs, int64_t nowTickMs);

// Shortens a path for the current-file field: while it is longer than the budget and has more
// than two backslashes, the two components after the first half are replaced by "...".
std::u16string ShortenPath(std::u16string_view path, int budget);

// "XML-Dateien-Gesamtgröße: " + size text + "     Zeit: " + elapsed-time text.
std::u16string TotalsText(std::u16string_view sizeText, std::u16string_view elapsed);
std::u16string TotalsText(int64_t bytes, std::u16string_view elapsed);

// The progress line after a pass: postings (grouped) + " Wörter in Datenbank aufgenommen (aus " +
// documents + " Dateien).".
std::u16string WordsTakenText(int64_t postings, int32_t documents);

// The status line while documents are indexed: documents + " XML-Dateien wurden bisher
// indiziert. ", followed, when a re-index took documents from their text copies, by
// "(" + reused + " unverändert übernommen) ".
std::u16string IndexedSoFarText(int32_t documents, int32_t reused);

}  // namespace vx::indexing
