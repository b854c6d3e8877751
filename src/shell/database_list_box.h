// The database list: single selection, rows sorted ignoring case, each row drawn with the
// database icon whose pure red pixels take the row background; a selected row is highlighted in
// the window background darkened by 7 per cent.
#pragma once

#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <string>
#include <vector>

#include "shell/colour_text.h"

namespace vx::shell {

class DatabaseListBox : public QListWidget {
    Q_OBJECT

  public:
    explicit DatabaseListBox(QWidget* parent = nullptr);

    void SetRows(const std::vector<std::u16string>& rows);
    std::u16string RowText(int row) const;
    // -1 when no row is selected.
    int SelectedRow() const;
    // Selects the row (or none for -1) without the click action.
    void SelectRow(int row);

    // The main window's background, from which the highlight is derived.
    void SetWindowBackground(Colour colour);
    Colour HighlightColour() const { return DarkenSevenPercent(background_); }
    const QImage& Icon() const { return icon_; }

  signals:
    // A row was chosen by the mouse or the keyboard.
    void RowClicked();
    void RowDoubleClicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Colour background_ = kDefaultBackground;
    QImage icon_;
};

// Draws one row of the database list.
class DatabaseRowDelegate : public QStyledItemDelegate {
  public:
    explicit DatabaseRowDelegate(DatabaseListBox* list) : QStyledItemDelegate(list), list_(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    DatabaseListBox* list_;
};

}  // namespace vx::shell
