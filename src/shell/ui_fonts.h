// Fonts of the windows. "Arial Unicode MS" and "MS Sans Serif" fall back to a sans-serif font
// when they are not installed; sizes are character heights in pixels.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace vx::shell {

QFont ArialUnicodeFont(int pixelSize, bool bold);
QFont MsSansSerifFont(int pixelSize, bool bold);
// Makes the widget's font smaller (down to 9 pixels) until the text fits the width: the
// fallback fonts run wider than the ones the layout was drawn for.
void FitFontToWidth(QWidget* widget, const QString& text, int width);

}  // namespace vx::shell
