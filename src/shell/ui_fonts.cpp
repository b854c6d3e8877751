#include "shell/ui_fonts.h"

#include <QFontMetrics>
#include <QStringList>
#include <QWidget>

namespace vx::shell {
namespace {

QFont MakeFont(const QString& family, int pixelSize, bool bold) {
    QFont font;
    // The first installed family of the list wins; the style hint covers a system without any.
    font.setFamilies({family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
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

}  // namespace vx::shell
