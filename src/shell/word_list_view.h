// The word list of the search dialog: read-only lines; a click selects the line under the
// caret, a double-click also hands the word on, and typed keys go to the filter field.
#pragma once

#include <QPlainTextEdit>

namespace vx::shell {

class WordListView : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit WordListView(QWidget* parent = nullptr);
    // Selects the whole line (block) and scrolls it into view.
    void SelectLine(int line);
    QString SelectedLine() const;

  signals:
    void WordDoubleClicked(const QString& word);
    void KeyTyped(QKeyEvent* event);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vx::shell
