#include "shell/status_texts.h"

namespace vx::shell {

PatienceStep PatienceTick(int counter) {
    ++counter;
    if (counter > 5) return {0, {}};
    std::u16string text = u"°";
    for (int i = 1; i < counter; ++i) text += u" °";
    return {counter, text};
}

}  // namespace vx::shell
