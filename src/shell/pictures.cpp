#include "shell/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "shell/ui_fonts.h"

namespace vx::shell {
namespace {

void DrawDisk(QPainter& p, int x, int y, int w, int h, const QColor& body) {
    p.setPen(QColor(20, 20, 40));
    p.setBrush(body);
    p.drawRect(x, y + h / 2, w, h);
    p.drawEllipse(x, y + h, w, h);
    p.setPen(Qt::NoPen);
    p.drawRect(x + 1, y + h / 2 + 1, w - 1, h);
    p.setPen(QColor(20, 20, 40));
    p.setBrush(body.lighter(140));
    p.drawEllipse(x, y, w, h);
}

}  // namespace

QImage DatabaseIcon() {
    QImage icon(24, 21, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 0));
    QPainter p(&icon);
    DrawDisk(p, 3, 12, 17, 5, QColor(0, 110, 190));
    DrawDisk(p, 3, 7, 17, 5, QColor(0, 140, 210));
    DrawDisk(p, 3, 1, 17, 5, QColor(40, 170, 230));
    return icon;
}

QImage IconOnBackground(const QImage& icon, QRgb background) {
    QImage result = icon.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == 0x00FF0000) line[x] = background | 0xFF000000;
        }
    }
    return result;
}

QPixmap LogoPicture(int width, int height, bool transparent) {
    QPixmap pixmap(width, height);
    pixmap.fill(transparent ? QColor(Qt::transparent) : QColor(255, 255, 255));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(8, 8, width - 16, height - 16);
    QPainterPath lens;
    lens.addEllipse(QPointF(r.left() + r.height() * 0.45, r.top() + r.height() * 0.42),
                    r.height() * 0.3, r.height() * 0.3);
    p.setPen(QPen(QColor(0, 90, 170), 6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lens);
    p.drawLine(QPointF(r.left() + r.height() * 0.66, r.top() + r.height() * 0.64),
               QPointF(r.left() + r.height() * 0.9, r.top() + r.height() * 0.9));
    p.setPen(transparent ? QColor(255, 255, 255) : QColor(64, 0, 128));
    p.setFont(ArialUnicodeFont(22, true));
    p.drawText(
        QRectF(r.left() + r.height() * 0.9, r.top(), r.width() - r.height() * 0.9, r.height()),
        Qt::AlignCenter, QStringLiteral("Vantor\nXML"));
    return pixmap;
}

QPixmap SettingsPicture() {
    QPixmap pixmap(28, 28);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-2.5, -13, 5, 7));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 9, 9);
    p.setBrush(QColor(230, 230, 235));
    p.drawEllipse(QPointF(0, 0), 4, 4);
    return pixmap;
}

QPixmap NewDatabasePicture() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawDisk(p, 1, 8, 15, 5, QColor(0, 140, 210));
    p.setPen(QPen(QColor(0, 150, 0), 3));
    p.drawLine(QPointF(18, 2), QPointF(18, 12));
    p.drawLine(QPointF(13, 7), QPointF(23, 7));
    return pixmap;
}

}  // namespace vx::shell
