// The search dialog: search text with its history, AND / OR / phrase, the result limit, and
// the word-list browser of the selected database.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "search/history.h"
#include "search/search_run.h"
#include "shell/anchored_layout.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QFrame;

namespace vx::shell {

class MainWindow;
class WordListView;

class SearchDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SearchDialog(MainWindow& main);

    std::u16string SearchText() const;
    void SetSearchText(const std::u16string& text);
    search::SearchOptions Options() const;
    std::vector<QWidget*> NoticeGroupControls() const;

    // The history list and its file.
    search::SearchHistory& History() { return history_; }
    void LoadHistory(const std::u16string& fileName);
    // Shows the history's items in the list (after a search changed it).
    void RefreshHistoryList();
    void HideHistory();

    // Empties the word list and the filter field.
    void ClearWordList();
    // "Wörter von A bis Z etc." and "Reine Unicode Wörter".
    void SuchbegriffeLaden();
    void SuchbegriffeLadenAsia();
    int WordCount() const { return static_cast<int>(words_.size()); }

    void OKBtnClick();
    void UndClicked();
    void OderClicked();
    void PhraseClicked();

    QLineEdit* SearchField() const { return tntEdit2_; }
    QLineEdit* FilterField() const { return tntEdit1_; }
    QListWidget* HistoryList() const { return tntListBox2_; }
    WordListView* WordList() const { return wlistMemo_; }
    QCheckBox* UndBox() const { return checkBox1_; }
    QCheckBox* OderBox() const { return checkBox2_; }
    QCheckBox* PhraseBox() const { return checkBox4_; }
    QSpinBox* LimitField() const { return spinEdit1_; }
    QLabel* CountLabel() const { return label8_; }
    QLabel* LinkedLabel() const { return label4_; }
    QPushButton* OkButton() const { return okBtn_; }
    QPushButton* CancelButton() const { return cancelBtn_; }
    QPushButton* AnsiWordsButton() const { return bitBtn1_; }
    QPushButton* UnicodeWordsButton() const { return bitBtn2_; }

  public slots:
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void LoadWords(const std::u16string& suffix, const QString& loadingNote,
                   const QString& countPrefix, bool filterAtEnd);
    void FilterChanged();
    void HistoryItemClicked();
    void WordDoubleClicked(const QString& word);
    void ForwardKey(QKeyEvent* event);

    MainWindow& main_;
    AnchoredLayout layout_;
    search::SearchHistory history_;
    std::vector<std::u16string> words_;
    bool firstShow_ = true;

    QLabel* label2_ = nullptr;
    QLineEdit* tntEdit2_ = nullptr;
    QPushButton* button1_ = nullptr;
    QListWidget* tntListBox2_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label1_ = nullptr;
    QCheckBox* checkBox4_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QSpinBox* spinEdit1_ = nullptr;
    QLabel* label3_ = nullptr;
    QPushButton* okBtn_ = nullptr;
    QPushButton* cancelBtn_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label4_ = nullptr;
    QLineEdit* tntEdit1_ = nullptr;
    WordListView* wlistMemo_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QFrame* bevel1_ = nullptr;
    QFrame* bevel2_ = nullptr;
};

}  // namespace vx::shell
