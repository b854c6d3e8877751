// The patience indicator of the main window's status area.
#pragma once

#include <string>

namespace vx::shell {

// One tick advances the counter; 1 to 5 show that many degree signs, above 5 the indicator is
// empty and the counter starts again at 0.
struct PatienceStep {
    int counter;
    std::u16string text;
};
PatienceStep PatienceTick(int counter);

}  // namespace vx::shell
