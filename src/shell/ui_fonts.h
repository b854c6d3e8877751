// Fonts of the windows. "Arial Unicode MS" and "MS Sans Serif" fall back to a sans-serif font
// when they are not installed; sizes are character heights in pixels.
#pragma once

#include <QFont>
#include <QString>
#include <utility>
#include <vector>

class QWidget;

namespace vx::shell {

QFont ArialUnicodeFont(int pixelSize, bool bold);
QFont MsSansSerifFont(int pixelSize, bool bold);
// Makes the widget's font smaller (down to 9 pixels) until the text fits the width: the
// fallback fonts run wider than the ones the layout was drawn for.
void FitFontToWidth(QWidget* widget, const QString& text, int width);
// The same for controls that belong together (each with its text): all get the size at which
// every text fits, so they keep one size.
void FitFontsToWidth(const std::vector<std::pair<QWidget*, QString>>& widgets, int width);

}  // namespace vx::shell
