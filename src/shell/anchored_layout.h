// Places child widgets by their design rectangles and the window edges they follow.
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace vx::shell {

enum Anchor : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

// The rectangle of a control anchored to the given edges, when the client area changes from the
// design size to the current size: a control tied to both opposite edges stretches, one tied to
// the right or bottom edge alone moves with it, one tied to neither keeps its place.
QRect AnchoredRect(const QRect& design, unsigned anchors, QSize designClient, QSize client);

class AnchoredLayout {
  public:
    explicit AnchoredLayout(QSize designClient) : designClient_(designClient) {}
    void Add(QWidget* widget, QRect design, unsigned anchors);
    void Apply(QSize client) const;

  private:
    struct Item {
        QWidget* widget;
        QRect design;
        unsigned anchors;
    };
    QSize designClient_;
    std::vector<Item> items_;
};

}  // namespace vx::shell
