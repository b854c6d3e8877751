// Background and text colours of single controls.
#pragma once

#include <QColor>

#include "shell/colour_text.h"

class QWidget;

namespace vx::shell {

QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);
// The window or panel background (the control fills it itself).
void SetBackgroundColour(QWidget* widget, const QColor& colour);
// The background of a text field.
void SetBaseColour(QWidget* widget, const QColor& colour);
// The text colour of a label, check box, button or text field, while it is enabled; a check
// box's indicator keeps its own colours.
void SetTextColour(QWidget* widget, const QColor& colour);
QColor TextColourOf(const QWidget* widget);

}  // namespace vx::shell
