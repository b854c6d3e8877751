// Status texts of an indexing run that more than one step shows.
#pragma once

namespace vx::indexing {

inline constexpr char16_t kFinishedText[] = u"Fertig mit der Indizierung.";
inline constexpr char16_t kFinishedAfterCancelText[] = u"Fertig mit der abgebrochenen Indizierung.";
inline constexpr char16_t kIndexingCancelledText[] =
    u"Indizierung wurde abgebrochen! Die Daten werden gespeichert";
inline constexpr char16_t kUpdateCancelledText[] = u"Aktualisierung wurde abgebrochen! ";
inline constexpr char16_t kSavingPassText[] = u"Daten werden zwischengespeichert.";

}  // namespace vx::indexing
