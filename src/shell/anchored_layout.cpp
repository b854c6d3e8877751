#include "shell/anchored_layout.h"

#include <QWidget>

namespace vx::shell {

QRect AnchoredRect(const QRect& design, unsigned anchors, QSize designClient, QSize client) {
    const int dx = client.width() - designClient.width();
    const int dy = client.height() - designClient.height();
    QRect r = design;
    if ((anchors & kRight) != 0) {
        if ((anchors & kLeft) != 0) {
            r.setWidth(std::max(0, design.width() + dx));
        } else {
            r.moveLeft(design.left() + dx);
        }
    }
    if ((anchors & kBottom) != 0) {
        if ((anchors & kTop) != 0) {
            r.setHeight(std::max(0, design.height() + dy));
        } else {
            r.moveTop(design.top() + dy);
        }
    }
    return r;
}

void AnchoredLayout::Add(QWidget* widget, QRect design, unsigned anchors) {
    items_.push_back({widget, design, anchors});
}

void AnchoredLayout::Apply(QSize client) const {
    for (const auto& item : items_) {
        QRect r = AnchoredRect(item.design, item.anchors, designClient_, client);
        // Labels keep their natural width from their design place.
        if (item.design.width() <= 0) r.setWidth(item.widget->sizeHint().width());
        if (item.design.height() <= 0) r.setHeight(item.widget->sizeHint().height());
        item.widget->setGeometry(r);
    }
}

}  // namespace vx::shell
