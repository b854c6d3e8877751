#include "cli/watch_output.h"

#include <time.h>

#include <iostream>

#include "platform/text.h"

namespace vx::cli {

namespace {

std::string TimeOfDay() {
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char text[16];
    strftime(text, sizeof text, "%H:%M:%S ", &local);
    return text;
}

}  // namespace

void PrintLine(const std::string& line) {
    std::cout << TimeOfDay() << line << std::endl;
}

void PrintNote(const std::string& line) {
    std::cerr << TimeOfDay() << line << std::endl;
}

std::string GroupedNumber(int64_t n) {
    return platform::ToUtf8(platform::GroupedIntText(n));
}

std::string Utf8(std::u16string_view text) {
    return platform::ToUtf8(text);
}

}  // namespace vx::cli
