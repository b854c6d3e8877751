#include "shell/ui_fonts.h"

#include <QStringList>

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

}  // namespace vx::shell
