// The settings store: text values under one key, kept in the INI file
// $XDG_CONFIG_HOME/Orlanda/Vantor-XML.conf (default ~/.config). Every call opens the file anew and
// a write reaches the disk before the call returns; nothing is cached between calls.
#pragma once

#include <string>

namespace vx::shell {

// The program's key; its values live at the top level of the file.
inline constexpr char16_t kRegKey[] = u"Software\\Orlanda\\Vantor-XML\\";

// Value names.
inline constexpr char16_t kSelectedDatabase[] = u"Ausgewaehlte_Datenbank";
inline constexpr char16_t kBackgroundColour[] = u"Farbe";
inline constexpr char16_t kNoticeColour[] = u"HinweistextFarbe";
inline constexpr char16_t kHeight[] = u"Hoehe";
inline constexpr char16_t kWidth[] = u"Weite";
inline constexpr char16_t kSearchHeight[] = u"SHoehe";
inline constexpr char16_t kSearchWidth[] = u"SWeite";
inline constexpr char16_t kCopyToClipboard[] = u"Suchwort_in_Zwischenablage_kopieren";

// Path of the settings file on the host.
std::string SettingsFilePath();

// The stored text of the value, "" when the file, the key or the value is missing.
std::u16string LeseRegKey(const std::u16string& keyPath, const std::u16string& valueName);
// Writes the value (creating the file and its folders); false when it could not be stored.
bool SchreibeRegKey(const std::u16string& keyPath, const std::u16string& valueName,
                    const std::u16string& text);

}  // namespace vx::shell
