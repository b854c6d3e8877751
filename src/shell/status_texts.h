// Texts of the main window's progress display.
#pragma once

#include <cstdint>
#include <string>

namespace vx::shell {

// Whole seconds between two millisecond ticks, each divided by 1000 first.
int64_t ElapsedSeconds(int64_t nowTickMs, int64_t startTickMs);
// "h:m:s" without leading zeros (3725 -> "1:2:5").
std::u16string ElapsedText(int64_t seconds);
// "XML-Dateien-Gesamtgröße: " + size + "     Zeit: " + elapsed.
std::u16string TotalsText(const std::u16string& sizeText, const std::u16string& elapsedText);

// The patience indicator: one tick advances the counter; 1 to 5 show that many degree signs,
// above 5 the indicator is empty and the counter starts again at 0.
struct PatienceStep {
    int counter;
    std::u16string text;
};
PatienceStep PatienceTick(int counter);

}  // namespace vx::shell
