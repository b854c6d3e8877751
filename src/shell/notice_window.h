// The notice window "Information": how many XML documents were found and their size, and
// whether to begin the indexing.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace vx::shell {

class DialogRunner;

class NoticeWindow : public QDialog {
    Q_OBJECT

  public:
    NoticeWindow(QWidget* parent, DialogRunner* runner);

    // Shows the window modally with the count and size; true for "Ja".
    bool Ask(int documentCount, const std::u16string& sizeText);
    QPushButton* YesButton() const { return yesButton_; }
    QPushButton* NoButton() const { return noButton_; }
    QPlainTextEdit* TextBox() const { return textBox_; }

  protected:
    // Every paint writes the question anew (text typed into the box is lost).
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Enter in the text box presses the default button "Ja" instead of adding a line.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillText();

    DialogRunner* runner_;
    QPlainTextEdit* textBox_ = nullptr;  // Memo1
    QPushButton* yesButton_ = nullptr;   // Button1
    QPushButton* noButton_ = nullptr;    // Button2
    int documentCount_ = 0;
    std::u16string sizeText_;
};

}  // namespace vx::shell
