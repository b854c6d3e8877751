#include "shell/word_list_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>

namespace vx::shell {

WordListView::WordListView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void WordListView::SelectLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString WordListView::SelectedLine() const {
    return textCursor().selectedText();
}

void WordListView::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        SelectLine(cursorForPosition(event->position().toPoint()).blockNumber());
    }
}

void WordListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    SelectLine(cursorForPosition(event->position().toPoint()).blockNumber());
    emit WordDoubleClicked(SelectedLine());
}

void WordListView::keyPressEvent(QKeyEvent* event) {
    emit KeyTyped(event);
}

}  // namespace vx::shell
