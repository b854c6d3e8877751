#include "shell/database_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "shell/pictures.h"
#include "shell/ui_fonts.h"

namespace vx::shell {
namespace {

constexpr int kRowHeight = 23;

QColor ToQColor(Colour c) {
    const Colour rgb = ResolveToRgb(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

}  // namespace

DatabaseListBox::DatabaseListBox(QWidget* parent) : QListWidget(parent), icon_(DatabaseIcon()) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setFont(ArialUnicodeFont(16, true));
    setItemDelegate(new DatabaseRowDelegate(this));
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

void DatabaseListBox::SetRows(const std::vector<std::u16string>& rows) {
    clear();
    for (const auto& row : rows) addItem(QString::fromStdU16String(row));
}

std::u16string DatabaseListBox::RowText(int row) const {
    const QListWidgetItem* it = item(row);
    return it != nullptr ? it->text().toStdU16String() : std::u16string();
}

int DatabaseListBox::SelectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void DatabaseListBox::SelectRow(int row) {
    if (row < 0 || row >= count()) {
        clearSelection();
        return;
    }
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void DatabaseListBox::SetWindowBackground(Colour colour) {
    background_ = colour;
    viewport()->update();
}

void DatabaseListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) {
        emit RowClicked();
    }
}

void DatabaseListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) {
        emit RowDoubleClicked();
    }
}

void DatabaseListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before) emit RowClicked();
}

void DatabaseRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QColor background =
        selected ? ToQColor(list_->HighlightColour()) : list_->palette().color(QPalette::Base);
    const QColor text = selected ? QColor(Qt::white) : list_->palette().color(QPalette::Text);
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, background);
    const QImage icon = IconOnBackground(list_->Icon(), background.rgb());
    painter->drawImage(r.left() + 1, r.top() + 1, icon);
    const int offset = icon.width() + 4;
    painter->setFont(list_->font());
    painter->setPen(text);
    painter->drawText(QRect(r.left() + offset, r.top() + 2, r.width() - offset, r.height() - 2),
                      Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    if ((option.state & QStyle::State_HasFocus) != 0) {
        QPen pen(text, 1, Qt::DotLine);
        painter->setPen(pen);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize DatabaseRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight);
}

}  // namespace vx::shell
