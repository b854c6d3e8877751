// The search dialog: search text with its history, AND / OR / phrase, the result limit, and
// the word-list browser of the selected database.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "platform/read_only_file.h"
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
    // Loads the word list again when its file changed on disk since it was loaded (when the
    // dialog is hidden, as it is shown next).
    void ReloadChangedWordList();
    // "Wörter von A bis Z etc." and "Reine Unicode Wörter".
    void SuchbegriffeLaden();
    void SuchbegriffeLadenAsia();
    int WordCount() const { return static_cast<int>(words_.size()); }

    void OKBtnClick();
    void UndClicked();
    void OderClicked();
    void PhraseClicked();

    QLineEdit* SearchField() const { return searchField_; }
    QLineEdit* FilterField() const { return filterField_; }
    QListWidget* HistoryList() const { return historyList_; }
    WordListView* WordList() const { return wordList_; }
    QCheckBox* UndBox() const { return andBox_; }
    QCheckBox* OderBox() const { return orBox_; }
    QCheckBox* PhraseBox() const { return phraseBox_; }
    QSpinBox* LimitField() const { return limitField_; }
    QLabel* CountLabel() const { return countLabel_; }
    QLabel* LinkedLabel() const { return linkedLabel_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QPushButton* AnsiWordsButton() const { return ansiWordsButton_; }
    QPushButton* UnicodeWordsButton() const { return unicodeWordsButton_; }

  public slots:
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void LoadWords(bool unicode, const QString& loadingNote, const QString& countPrefix,
                   bool filterAtEnd);
    void FilterChanged();
    void HistoryItemClicked();
    void WordDoubleClicked(const QString& word);
    void ForwardKey(QKeyEvent* event);

    MainWindow& main_;
    AnchoredLayout layout_;
    search::SearchHistory history_;
    std::vector<std::u16string> words_;
    // The file the word list was loaded from, as it was then ("" when none is shown).
    std::u16string wordsFile_;
    bool unicodeWords_ = false;  // wordsFile_ is the Unicode word list
    std::optional<platform::FileStamp> wordsStamp_;
    bool wordsStale_ = false;
    bool firstShow_ = true;

    QLabel* searchLabel_ = nullptr;              // Label2
    QLineEdit* searchField_ = nullptr;           // TntEdit2
    QPushButton* clearButton_ = nullptr;         // Button1
    QListWidget* historyList_ = nullptr;         // TntListBox2
    QLabel* wildcardHintTop_ = nullptr;          // Label6
    QLabel* wildcardHintBottom_ = nullptr;       // Label7
    QLabel* caseNoteLabel_ = nullptr;            // Label1
    QCheckBox* phraseBox_ = nullptr;             // CheckBox4
    QCheckBox* andBox_ = nullptr;                // CheckBox1
    QCheckBox* orBox_ = nullptr;                 // CheckBox2
    QSpinBox* limitField_ = nullptr;             // SpinEdit1
    QLabel* limitLabel_ = nullptr;               // Label3
    QPushButton* okButton_ = nullptr;            // OKBtn
    QPushButton* cancelButton_ = nullptr;        // CancelBtn
    QLabel* countLabel_ = nullptr;               // Label8
    QLabel* linkedLabel_ = nullptr;              // Label4
    QLineEdit* filterField_ = nullptr;           // TntEdit1
    WordListView* wordList_ = nullptr;           // wlistMemo
    QPushButton* ansiWordsButton_ = nullptr;     // BitBtn1
    QPushButton* unicodeWordsButton_ = nullptr;  // BitBtn2
    QFrame* searchFrame_ = nullptr;              // Bevel1
    QFrame* wordFrame_ = nullptr;                // Bevel2
};

}  // namespace vx::shell
