#include "shell/ui_fonts.h"

#include <QFontMetrics>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace vx::shell {
namespace {

QFont MakeFont(const QString& family, int pixelSize, bool bold) {
    QFont font;
    // The first installed family of the list wins; the style hint covers a system without any.
    // Fonts with Arial's metrics come first: the layout was drawn for them, and the wider
    // DejaVu Sans would clip texts.
    font.setFamilies({family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont ArialUnicodeFont(int pixelSize, bool bold) {
    return MakeFont(QStringLiteral("Arial Unicode MS"), pixelSize, bold);
}

QFont MsSansSerifFont(int pixelSize, bool bold) {
    return MakeFont(QStringLiteral("MS Sans Serif"), pixelSize, bold);
}

void FitFontToWidth(QWidget* widget, const QString& text, int width) {
    QFont font = widget->font();
    QString shown = text;
    shown.remove(u'&');
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(shown) > width) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    widget->setFont(font);
}

void FitFontsToWidth(const std::vector<std::pair<QWidget*, QString>>& widgets, int width) {
    int size = std::numeric_limits<int>::max();
    for (const auto& [widget, text] : widgets) {
        FitFontToWidth(widget, text, width);
        size = std::min(size, widget->font().pixelSize());
    }
    for (const auto& entry : widgets) {
        QFont font = entry.first->font();
        font.setPixelSize(size);
        entry.first->setFont(font);
    }
}

}  // namespace vx::shell
