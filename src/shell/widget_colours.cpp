#include "shell/widget_colours.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

namespace vx::shell {

QColor ToQColor(Colour colour) {
    const Colour rgb = ResolveToRgb(colour);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

Colour FromQColor(const QColor& colour) {
    return FromRgb(colour.red(), colour.green(), colour.blue());
}

void SetBackgroundColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetBaseColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    // The disabled look stays the style's, so a disabled control still looks disabled.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, colour);
        p.setColor(group, QPalette::ButtonText, colour);
        // A check box draws its check mark in the text colour on the field's base colour: the
        // indicator keeps the style's colours, so the mark stays visible in any notice colour.
        if (qobject_cast<QCheckBox*>(widget) == nullptr) p.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(p);
}

QColor TextColourOf(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget) != nullptr) {
        return widget->palette().color(QPalette::Text);
    }
    if (qobject_cast<const QAbstractButton*>(widget) != nullptr &&
        widget->inherits("QPushButton")) {
        return widget->palette().color(QPalette::ButtonText);
    }
    return widget->palette().color(QPalette::WindowText);
}

}  // namespace vx::shell
