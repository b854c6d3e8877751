// Fonts of the windows. "Arial Unicode MS" and "MS Sans Serif" fall back to a sans-serif font
// when they are not installed; sizes are character heights in pixels.
#pragma once

#include <QFont>

namespace vx::shell {

QFont ArialUnicodeFont(int pixelSize, bool bold);
QFont MsSansSerifFont(int pixelSize, bool bold);

}  // namespace vx::shell
