#include "shell/status_texts.h"

#include "platform/text.h"

namespace vx::shell {

int64_t ElapsedSeconds(int64_t nowTickMs, int64_t startTickMs) {
    return nowTickMs / 1000 - startTickMs / 1000;
}

std::u16string ElapsedText(int64_t seconds) {
    const int64_t hours = seconds / 3600;
    const int64_t minutes = (seconds - hours * 3600) / 60;
    const int64_t rest = seconds - hours * 3600 - minutes * 60;
    return platform::IntText(hours) + u":" + platform::IntText(minutes) + u":" +
           platform::IntText(rest);
}

std::u16string TotalsText(const std::u16string& sizeText, const std::u16string& elapsedText) {
    return u"XML-Dateien-Gesamtgröße: " + sizeText + u"     Zeit: " + elapsedText;
}

PatienceStep PatienceTick(int counter) {
    ++counter;
    if (counter > 5) return {0, {}};
    std::u16string text = u"°";
    for (int i = 1; i < counter; ++i) text += u" °";
    return {counter, text};
}

}  // namespace vx::shell
