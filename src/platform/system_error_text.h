// German texts for the system's error numbers, for the messages that name a file and the reason.
#pragma once

#include <string>

namespace vx::platform {

// The reason behind an errno value in German ("Kein Speicherplatz mehr auf dem Datenträger"); an
// unknown number gives "Systemfehler " + number.
std::u16string SystemErrorText(int error);

// "Die Datei \"<path>\" " + action + ": " + reason + "." for a Windows-form path.
std::u16string FileErrorText(std::u16string_view path, std::u16string_view action, int error);

}  // namespace vx::platform
