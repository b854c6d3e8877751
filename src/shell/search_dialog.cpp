#include "shell/search_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QWheelEvent>

#include "index/database_files.h"
#include "platform/files.h"
#include "platform/text.h"
#include "search/query.h"
#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/qt_text.h"
#include "shell/settings_dialog.h"
#include "shell/ui_fonts.h"
#include "shell/widget_colours.h"
#include "shell/word_list_texts.h"
#include "shell/word_list_view.h"
#include "textio/text_file.h"

namespace vx::shell {
namespace {

// The client area at the design size of 1024 x 523.
constexpr QSize kDesignClient(1008, 485);

QLabel* MakeLabel(QWidget* parent, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

QRect LabelRect(QLabel* label, int left, int top) {
    return QRect(left, top, label->sizeHint().width() + 4, label->sizeHint().height());
}

// The lines of a word list (UTF-8); nothing when it cannot be read.
std::vector<std::u16string> ReadLines(const std::u16string& fileName) {
    try {
        return textio::SplitLines(textio::ReadTextFile(fileName));
    } catch (const std::exception&) {
        // A word list that cannot be read leaves the browser empty.
        return {};
    }
}

// The lines of the log, a UTF-16 file read with every character kept.
std::vector<std::u16string> ReadLogLines(const std::u16string& fileName) {
    if (!platform::FileExists(fileName)) return {};
    try {
        return textio::ReadUtf16LeLines(fileName);
    } catch (const std::exception&) {
        // The log only gives the linked-entry count; without it none is shown.
        return {};
    }
}

}  // namespace

SearchDialog::SearchDialog(MainWindow& main) : QDialog(&main), main_(main), layout_(kDesignClient) {
    setWindowTitle(QStringLiteral("Vantor-XML - Die lokale Suchmaschine für XML-Dokumente"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinMaxButtonsHint);
    setMinimumSize(740, 463);
    SetBackgroundColour(this, ToQColor(kDefaultBackground));
    const QFont bold15 = ArialUnicodeFont(15, true);
    const QFont bold13 = ArialUnicodeFont(13, true);

    searchFrame_ = new QFrame(this);
    searchFrame_->setFrameShape(QFrame::Box);
    searchFrame_->setFrameShadow(QFrame::Sunken);
    wordFrame_ = new QFrame(this);
    wordFrame_->setFrameShape(QFrame::Box);
    wordFrame_->setFrameShadow(QFrame::Sunken);

    searchLabel_ = MakeLabel(this, QStringLiteral("In Dateien suchen nach:"), bold15);
    searchField_ = new QLineEdit(this);
    searchField_->setFont(ArialUnicodeFont(16, false));
    searchField_->setToolTip(
        QStringLiteral("Suchwort eingeben. Linker Mausklick öffnet/schließt Liste."));
    searchField_->installEventFilter(this);
    clearButton_ = new QPushButton(QStringLiteral("X"), this);
    clearButton_->setFont(MsSansSerifFont(16, true));
    wildcardHintTop_ = MakeLabel(
        this, QStringLiteral("Kennen Sie nur einen Teil des Suchwortes, dann fügen Sie ein Frage-"),
        bold13);
    wildcardHintBottom_ = MakeLabel(
        this, QStringLiteral("zeichen ? oder ein Sternchen * vor bzw. hinter das Suchwort an "),
        bold13);
    caseNoteLabel_ = MakeLabel(
        this,
        QStringLiteral("(nicht bei d. Phrasensuche) Groß-/Kleinschreib. wird nicht beachtet."),
        bold13);
    phraseBox_ = new QCheckBox(QStringLiteral("Suche als Phrase"), this);
    andBox_ = new QCheckBox(
        QStringLiteral("die sämtliche Suchbegriffe gleichzeitig enthalten (UND)."), this);
    orBox_ = new QCheckBox(QStringLiteral("die einen oder mehrere Suchbegriffe enthalten (ODER)."),
                           this);
    for (QCheckBox* box : {phraseBox_, andBox_, orBox_}) box->setFont(bold15);
    orBox_->setChecked(true);
    limitField_ = new QSpinBox(this);
    limitField_->setRange(1, 50);
    limitField_->setValue(50);
    limitField_->setFont(ArialUnicodeFont(15, false));
    limitLabel_ =
        MakeLabel(this, QStringLiteral("Ergebnisse maximal anzeigen."), MsSansSerifFont(13, true));
    okButton_ = new QPushButton(QStringLiteral("&Suche"), this);
    okButton_->setFont(bold15);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("X"), this);
    cancelButton_->setFont(bold15);
    cancelButton_->setToolTip(QStringLiteral("Abbrechen"));
    countLabel_ = MakeLabel(this, QStringLiteral("Einträge:"), bold15);
    linkedLabel_ = MakeLabel(this, QString(), bold15);
    filterField_ = new QLineEdit(this);
    filterField_->setFont(ArialUnicodeFont(16, false));
    wordList_ = new WordListView(this);
    wordList_->setFont(ArialUnicodeFont(15, false));
    wordList_->setToolTip(QStringLiteral("Ein Doppelklick trägt das Wort in die Suchmaske ein."));
    ansiWordsButton_ = new QPushButton(QStringLiteral("Wörter von A bis Z etc."), this);
    unicodeWordsButton_ = new QPushButton(QStringLiteral("Reine Unicode Wörter"), this);
    for (QPushButton* b : {ansiWordsButton_, unicodeWordsButton_})
        b->setFont(MsSansSerifFont(16, true));
    // Controls of one kind keep one size when a text has to shrink.
    FitFontsToWidth({{ansiWordsButton_, ansiWordsButton_->text()},
                     {unicodeWordsButton_, unicodeWordsButton_->text()}},
                    185);
    FitFontsToWidth({{wildcardHintTop_, wildcardHintTop_->text()},
                     {wildcardHintBottom_, wildcardHintBottom_->text()},
                     {caseNoteLabel_, caseNoteLabel_->text()}},
                    466);
    FitFontsToWidth(
        {{phraseBox_, phraseBox_->text()}, {andBox_, andBox_->text()}, {orBox_, orBox_->text()}},
        436);
    // The history list lies over the labels below the search field while it is shown.
    historyList_ = new QListWidget(this);
    historyList_->setFont(ArialUnicodeFont(15, false));
    historyList_->setToolTip(QStringLiteral("Linker Mausklick fügt die Auswahl ein."));
    historyList_->setUniformItemSizes(true);
    historyList_->setStyleSheet(QStringLiteral("QListWidget::item { height: 20px; }"));
    historyList_->hide();

    constexpr unsigned kLT = kLeft | kTop;
    layout_.Add(searchFrame_, QRect(12, 8, 984, 399), kLT | kRight | kBottom);
    layout_.Add(wordFrame_, QRect(492, 8, 503, 399), kLT | kRight | kBottom);
    layout_.Add(searchLabel_, LabelRect(searchLabel_, 20, 19), kLT);
    layout_.Add(searchField_, QRect(19, 48, 434, 28), kLT);
    layout_.Add(clearButton_, QRect(459, 50, 29, 25), kLT);
    layout_.Add(wildcardHintTop_, LabelRect(wildcardHintTop_, 18, 93), kLT);
    layout_.Add(wildcardHintBottom_, LabelRect(wildcardHintBottom_, 19, 108), kLT);
    layout_.Add(caseNoteLabel_, LabelRect(caseNoteLabel_, 18, 126), kLT);
    layout_.Add(phraseBox_, QRect(21, 160, 460, 24), kLT);
    layout_.Add(andBox_, QRect(20, 195, 460, 24), kLT);
    layout_.Add(orBox_, QRect(20, 242, 460, 24), kLT);
    layout_.Add(limitField_, QRect(19, 347, 73, 30), kLeft | kBottom);
    layout_.Add(limitLabel_, LabelRect(limitLabel_, 98, 355), kLeft | kBottom);
    layout_.Add(okButton_, QRect(19, 431, 197, 28), kLeft | kBottom);
    layout_.Add(cancelButton_, QRect(952, 429, 43, 28), kRight | kBottom);
    layout_.Add(countLabel_, QRect(503, 19, 220, 22), kLT);
    layout_.Add(linkedLabel_, QRect(730, 19, 255, 22), kLT | kRight);
    layout_.Add(filterField_, QRect(500, 48, 485, 28), kLT | kRight);
    layout_.Add(wordList_, QRect(500, 84, 485, 309), kLT | kRight | kBottom);
    layout_.Add(ansiWordsButton_, QRect(504, 431, 197, 28), kRight | kBottom);
    layout_.Add(unicodeWordsButton_, QRect(742, 430, 197, 28), kRight | kBottom);
    layout_.Add(historyList_, QRect(18, 82, 471, 31), kLT);

    connect(clearButton_, &QPushButton::clicked, searchField_, &QLineEdit::clear);
    connect(okButton_, &QPushButton::clicked, this, &SearchDialog::OKBtnClick);
    connect(cancelButton_, &QPushButton::clicked, this, &SearchDialog::reject);
    connect(andBox_, &QCheckBox::clicked, this, &SearchDialog::UndClicked);
    connect(orBox_, &QCheckBox::clicked, this, &SearchDialog::OderClicked);
    connect(phraseBox_, &QCheckBox::clicked, this, &SearchDialog::PhraseClicked);
    connect(ansiWordsButton_, &QPushButton::clicked, this, &SearchDialog::SuchbegriffeLaden);
    connect(unicodeWordsButton_, &QPushButton::clicked, this, &SearchDialog::SuchbegriffeLadenAsia);
    connect(filterField_, &QLineEdit::textChanged, this, &SearchDialog::FilterChanged);
    connect(historyList_, &QListWidget::itemClicked, this, &SearchDialog::HistoryItemClicked);
    connect(wordList_, &WordListView::WordDoubleClicked, this, &SearchDialog::WordDoubleClicked);
    connect(wordList_, &WordListView::KeyTyped, this, &SearchDialog::ForwardKey);
    resize(1024, 523);
}

std::u16string SearchDialog::SearchText() const {
    return searchField_->text().toStdU16String();
}
void SearchDialog::SetSearchText(const std::u16string& text) {
    searchField_->setText(Q(text));
}

search::SearchOptions SearchDialog::Options() const {
    search::SearchOptions options;
    options.und = andBox_->isChecked();
    options.oder = orBox_->isChecked();
    options.phrase = phraseBox_->isChecked();
    options.resultLimit = limitField_->value();
    return options;
}

std::vector<QWidget*> SearchDialog::NoticeGroupControls() const {
    return {caseNoteLabel_, searchLabel_, limitLabel_, wildcardHintTop_, wildcardHintBottom_,
            countLabel_,    andBox_,      orBox_,      phraseBox_};
}

void SearchDialog::LoadHistory(const std::u16string& fileName) {
    if (!platform::FileExists(fileName)) return;
    history_.Load(fileName);
    RefreshHistoryList();
}

void SearchDialog::RefreshHistoryList() {
    historyList_->clear();
    for (const auto& item : history_.Items()) historyList_->addItem(Q(item));
}

void SearchDialog::HideHistory() {
    historyList_->hide();
}

void SearchDialog::ClearWordList() {
    words_.clear();
    wordList_->clear();
    filterField_->clear();
    wordsFile_.clear();
    wordsStale_ = false;
}

void SearchDialog::ReloadChangedWordList() {
    if (wordsFile_.empty() || platform::StampOf(wordsFile_) == wordsStamp_) return;
    if (!isVisible()) {
        wordsStale_ = true;
        return;
    }
    wordsStale_ = false;
    // The user keeps the place: the filter text and the focus.
    const QString filter = filterField_->text();
    QWidget* focused = focusWidget();
    if (unicodeWords_) {
        SuchbegriffeLadenAsia();
    } else {
        SuchbegriffeLaden();
    }
    if (filterField_->text() != filter) filterField_->setText(filter);
    if (focused != nullptr) focused->setFocus();
}

void SearchDialog::UndClicked() {
    if (andBox_->isChecked()) {
        if (orBox_->isChecked()) orBox_->setChecked(false);
    } else {
        phraseBox_->setChecked(false);
    }
}

void SearchDialog::OderClicked() {
    if (andBox_->isChecked() && orBox_->isChecked()) andBox_->setChecked(false);
    if (orBox_->isChecked()) phraseBox_->setChecked(false);
}

void SearchDialog::PhraseClicked() {
    if (phraseBox_->isChecked()) {
        orBox_->setChecked(false);
        andBox_->setChecked(true);
    }
}

void SearchDialog::OKBtnClick() {
    const bool copy = main_.Settings() != nullptr && main_.Settings()->CopyToClipboard();
    const search::ConfirmResult result =
        search::ConfirmCheck(SearchText(), phraseBox_->isChecked(), copy);
    if (result.clipboardText) QGuiApplication::clipboard()->setText(Q(*result.clipboardText));
    if (result.fieldText != SearchText()) SetSearchText(result.fieldText);
    for (const auto& message : result.messages) {
        main_.Message(MessageKind::Information, QStringLiteral("Information"), Q(message));
    }
    main_.SetPatienceIndicator(false);
    if (result.accepted) {
        accept();
    } else {
        reject();
    }
}

void SearchDialog::reject() {
    RunSwitch(main_.Flags()).EndSearch();
    QDialog::reject();
}

void SearchDialog::LoadWords(bool unicode, const QString& loadingNote, const QString& countPrefix,
                             bool filterAtEnd) {
    countLabel_->clear();
    words_.clear();
    wordList_->clear();
    const index::DatabaseFiles files(main_.Folders(), main_.SelectedDatabaseName());
    if (const auto note = LinkedEntriesNote(ReadLogLines(files.Log()))) {
        linkedLabel_->setText(Q(*note));
        SetTextColour(linkedLabel_, TextColourOf(countLabel_));
    }
    wordsFile_.clear();
    if (main_.List()->SelectedRow() < 0) return;
    countLabel_->setText(loadingNote);
    QCoreApplication::processEvents();
    const std::u16string file = unicode ? files.UnicodeWordList() : files.AnsiWordList();
    wordsFile_ = file;
    unicodeWords_ = unicode;
    wordsStamp_ = platform::StampOf(file);
    if (!platform::FileExists(file)) return;
    words_ = ReadLines(file);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(words_.size()));
    for (const auto& word : words_) lines.append(Q(word));
    wordList_->setPlainText(lines.join(u'\n'));
    countLabel_->setText(countPrefix +
                         Q(platform::GroupedIntText(static_cast<int64_t>(words_.size()))));
    QCoreApplication::processEvents();
    if (filterAtEnd) filterField_->setText(QStringLiteral("A"));
}

void SearchDialog::SuchbegriffeLaden() {
    wordList_->clear();
    filterField_->clear();
    LoadWords(false, QStringLiteral("Wird geladen!"), QStringLiteral("Einträge: "), true);
}

void SearchDialog::SuchbegriffeLadenAsia() {
    wordList_->clear();
    filterField_->clear();
    LoadWords(true, QStringLiteral("Unicode-Liste: Wird geladen!"),
              QStringLiteral("Unicode-Einträge: "), false);
}

void SearchDialog::FilterChanged() {
    const int line = FirstLineStartingWith(words_, filterField_->text().toStdU16String());
    if (line < 0) return;
    wordList_->SelectLine(line);
    wordList_->setFocus();
}

void SearchDialog::HistoryItemClicked() {
    const QListWidgetItem* item = historyList_->currentItem();
    if (item == nullptr) return;
    QString text = searchField_->text();
    if (!text.isEmpty()) text += u' ';
    searchField_->setText(text + item->text());
    historyList_->hide();
}

void SearchDialog::WordDoubleClicked(const QString& word) {
    searchField_->setText(searchField_->text() + u' ' + word);
}

void SearchDialog::ForwardKey(QKeyEvent* event) {
    filterField_->setFocus();
    filterField_->end(false);
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(filterField_, &copy);
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchField_ && event->type() == QEvent::MouseButtonPress &&
        historyList_->count() > 0) {
        historyList_->setVisible(!historyList_->isVisible());
        if (historyList_->isVisible()) historyList_->raise();
    }
    return QDialog::eventFilter(watched, event);
}

void SearchDialog::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void SearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        historyList_->resize(historyList_->width(), wordList_->height());
    }
    if (wordsStale_) ReloadChangedWordList();
}

void SearchDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (width() < 740 || height() < 463) {
        resize(std::max(width(), 740), std::max(height(), 463));
        return;
    }
    layout_.Apply(size());
    historyList_->resize(historyList_->width(), wordList_->height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
}

}  // namespace vx::shell
