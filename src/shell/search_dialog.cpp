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
        return {};
    }
}

// The lines of the log, a UTF-16 file read with every character kept.
std::vector<std::u16string> ReadLogLines(const std::u16string& fileName) {
    if (!platform::FileExists(fileName)) return {};
    try {
        return textio::ReadUtf16LeLines(fileName);
    } catch (const std::exception&) {
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

    bevel1_ = new QFrame(this);
    bevel1_->setFrameShape(QFrame::Box);
    bevel1_->setFrameShadow(QFrame::Sunken);
    bevel2_ = new QFrame(this);
    bevel2_->setFrameShape(QFrame::Box);
    bevel2_->setFrameShadow(QFrame::Sunken);

    label2_ = MakeLabel(this, QStringLiteral("In Dateien suchen nach:"), bold15);
    tntEdit2_ = new QLineEdit(this);
    tntEdit2_->setFont(ArialUnicodeFont(16, false));
    tntEdit2_->setToolTip(
        QStringLiteral("Suchwort eingeben. Linker Mausklick öffnet/schließt Liste."));
    tntEdit2_->installEventFilter(this);
    button1_ = new QPushButton(QStringLiteral("X"), this);
    button1_->setFont(MsSansSerifFont(16, true));
    label6_ = MakeLabel(
        this, QStringLiteral("Kennen Sie nur einen Teil des Suchwortes, dann fügen Sie ein Frage-"),
        bold13);
    label7_ = MakeLabel(
        this, QStringLiteral("zeichen ? oder ein Sternchen * vor bzw. hinter das Suchwort an "),
        bold13);
    label1_ = MakeLabel(
        this,
        QStringLiteral("(nicht bei d. Phrasensuche) Groß-/Kleinschreib. wird nicht beachtet."),
        bold13);
    checkBox4_ = new QCheckBox(QStringLiteral("Suche als Phrase"), this);
    checkBox1_ = new QCheckBox(
        QStringLiteral("die sämtliche Suchbegriffe gleichzeitig enthalten (UND)."), this);
    checkBox2_ = new QCheckBox(
        QStringLiteral("die einen oder mehrere Suchbegriffe enthalten (ODER)."), this);
    for (QCheckBox* box : {checkBox4_, checkBox1_, checkBox2_}) box->setFont(bold15);
    checkBox2_->setChecked(true);
    spinEdit1_ = new QSpinBox(this);
    spinEdit1_->setRange(1, 50);
    spinEdit1_->setValue(50);
    spinEdit1_->setFont(ArialUnicodeFont(15, false));
    label3_ =
        MakeLabel(this, QStringLiteral("Ergebnisse maximal anzeigen."), MsSansSerifFont(13, true));
    okBtn_ = new QPushButton(QStringLiteral("&Suche"), this);
    okBtn_->setFont(bold15);
    okBtn_->setDefault(true);
    cancelBtn_ = new QPushButton(QStringLiteral("X"), this);
    cancelBtn_->setFont(bold15);
    cancelBtn_->setToolTip(QStringLiteral("Abbrechen"));
    label8_ = MakeLabel(this, QStringLiteral("Einträge:"), bold15);
    label4_ = MakeLabel(this, QString(), bold15);
    tntEdit1_ = new QLineEdit(this);
    tntEdit1_->setFont(ArialUnicodeFont(16, false));
    wlistMemo_ = new WordListView(this);
    wlistMemo_->setFont(ArialUnicodeFont(15, false));
    wlistMemo_->setToolTip(QStringLiteral("Ein Doppelklick trägt das Wort in die Suchmaske ein."));
    bitBtn1_ = new QPushButton(QStringLiteral("Wörter von A bis Z etc."), this);
    bitBtn2_ = new QPushButton(QStringLiteral("Reine Unicode Wörter"), this);
    for (QPushButton* b : {bitBtn1_, bitBtn2_}) b->setFont(MsSansSerifFont(16, true));
    // Controls of one kind keep one size when a text has to shrink.
    FitFontsToWidth({{bitBtn1_, bitBtn1_->text()}, {bitBtn2_, bitBtn2_->text()}}, 185);
    FitFontsToWidth(
        {{label6_, label6_->text()}, {label7_, label7_->text()}, {label1_, label1_->text()}}, 466);
    FitFontsToWidth({{checkBox4_, checkBox4_->text()},
                     {checkBox1_, checkBox1_->text()},
                     {checkBox2_, checkBox2_->text()}},
                    436);
    // The history list lies over the labels below the search field while it is shown.
    tntListBox2_ = new QListWidget(this);
    tntListBox2_->setFont(ArialUnicodeFont(15, false));
    tntListBox2_->setToolTip(QStringLiteral("Linker Mausklick fügt die Auswahl ein."));
    tntListBox2_->setUniformItemSizes(true);
    tntListBox2_->setStyleSheet(QStringLiteral("QListWidget::item { height: 20px; }"));
    tntListBox2_->hide();

    constexpr unsigned kLT = kLeft | kTop;
    layout_.Add(bevel1_, QRect(12, 8, 984, 399), kLT | kRight | kBottom);
    layout_.Add(bevel2_, QRect(492, 8, 503, 399), kLT | kRight | kBottom);
    layout_.Add(label2_, LabelRect(label2_, 20, 19), kLT);
    layout_.Add(tntEdit2_, QRect(19, 48, 434, 28), kLT);
    layout_.Add(button1_, QRect(459, 50, 29, 25), kLT);
    layout_.Add(label6_, LabelRect(label6_, 18, 93), kLT);
    layout_.Add(label7_, LabelRect(label7_, 19, 108), kLT);
    layout_.Add(label1_, LabelRect(label1_, 18, 126), kLT);
    layout_.Add(checkBox4_, QRect(21, 160, 460, 24), kLT);
    layout_.Add(checkBox1_, QRect(20, 195, 460, 24), kLT);
    layout_.Add(checkBox2_, QRect(20, 242, 460, 24), kLT);
    layout_.Add(spinEdit1_, QRect(19, 347, 73, 30), kLeft | kBottom);
    layout_.Add(label3_, LabelRect(label3_, 98, 355), kLeft | kBottom);
    layout_.Add(okBtn_, QRect(19, 431, 197, 28), kLeft | kBottom);
    layout_.Add(cancelBtn_, QRect(952, 429, 43, 28), kRight | kBottom);
    layout_.Add(label8_, QRect(503, 19, 220, 22), kLT);
    layout_.Add(label4_, QRect(730, 19, 255, 22), kLT | kRight);
    layout_.Add(tntEdit1_, QRect(500, 48, 485, 28), kLT | kRight);
    layout_.Add(wlistMemo_, QRect(500, 84, 485, 309), kLT | kRight | kBottom);
    layout_.Add(bitBtn1_, QRect(504, 431, 197, 28), kRight | kBottom);
    layout_.Add(bitBtn2_, QRect(742, 430, 197, 28), kRight | kBottom);
    layout_.Add(tntListBox2_, QRect(18, 82, 471, 31), kLT);

    connect(button1_, &QPushButton::clicked, tntEdit2_, &QLineEdit::clear);
    connect(okBtn_, &QPushButton::clicked, this, &SearchDialog::OKBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &SearchDialog::reject);
    connect(checkBox1_, &QCheckBox::clicked, this, &SearchDialog::UndClicked);
    connect(checkBox2_, &QCheckBox::clicked, this, &SearchDialog::OderClicked);
    connect(checkBox4_, &QCheckBox::clicked, this, &SearchDialog::PhraseClicked);
    connect(bitBtn1_, &QPushButton::clicked, this, &SearchDialog::SuchbegriffeLaden);
    connect(bitBtn2_, &QPushButton::clicked, this, &SearchDialog::SuchbegriffeLadenAsia);
    connect(tntEdit1_, &QLineEdit::textChanged, this, &SearchDialog::FilterChanged);
    connect(tntListBox2_, &QListWidget::itemClicked, this, &SearchDialog::HistoryItemClicked);
    connect(wlistMemo_, &WordListView::WordDoubleClicked, this, &SearchDialog::WordDoubleClicked);
    connect(wlistMemo_, &WordListView::KeyTyped, this, &SearchDialog::ForwardKey);
    resize(1024, 523);
}

std::u16string SearchDialog::SearchText() const {
    return tntEdit2_->text().toStdU16String();
}
void SearchDialog::SetSearchText(const std::u16string& text) {
    tntEdit2_->setText(Q(text));
}

search::SearchOptions SearchDialog::Options() const {
    search::SearchOptions options;
    options.und = checkBox1_->isChecked();
    options.oder = checkBox2_->isChecked();
    options.phrase = checkBox4_->isChecked();
    options.resultLimit = spinEdit1_->value();
    return options;
}

std::vector<QWidget*> SearchDialog::NoticeGroupControls() const {
    return {label1_, label2_,    label3_,    label6_,   label7_,
            label8_, checkBox1_, checkBox2_, checkBox4_};
}

void SearchDialog::LoadHistory(const std::u16string& fileName) {
    if (!platform::FileExists(fileName)) return;
    history_.Load(fileName);
    RefreshHistoryList();
}

void SearchDialog::RefreshHistoryList() {
    tntListBox2_->clear();
    for (const auto& item : history_.Items()) tntListBox2_->addItem(Q(item));
}

void SearchDialog::HideHistory() {
    tntListBox2_->hide();
}

void SearchDialog::ClearWordList() {
    words_.clear();
    wlistMemo_->clear();
    tntEdit1_->clear();
}

void SearchDialog::UndClicked() {
    if (checkBox1_->isChecked()) {
        if (checkBox2_->isChecked()) checkBox2_->setChecked(false);
    } else {
        checkBox4_->setChecked(false);
    }
}

void SearchDialog::OderClicked() {
    if (checkBox1_->isChecked() && checkBox2_->isChecked()) checkBox1_->setChecked(false);
    if (checkBox2_->isChecked()) checkBox4_->setChecked(false);
}

void SearchDialog::PhraseClicked() {
    if (checkBox4_->isChecked()) {
        checkBox2_->setChecked(false);
        checkBox1_->setChecked(true);
    }
}

void SearchDialog::OKBtnClick() {
    const bool copy = main_.Settings() != nullptr && main_.Settings()->CopyToClipboard();
    const search::ConfirmResult result =
        search::ConfirmCheck(SearchText(), checkBox4_->isChecked(), copy);
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
    main_.Flags().searchActive = false;
    QDialog::reject();
}

void SearchDialog::LoadWords(const std::u16string& suffix, const QString& loadingNote,
                             const QString& countPrefix, bool filterAtEnd) {
    label8_->clear();
    words_.clear();
    wlistMemo_->clear();
    const std::u16string base = main_.Folders().database + u"\\" + main_.SelectedDatabaseName();
    if (const auto note = LinkedEntriesNote(ReadLogLines(base + u".log"))) {
        label4_->setText(Q(*note));
        SetTextColour(label4_, TextColourOf(label8_));
    }
    if (main_.List()->SelectedRow() < 0) return;
    label8_->setText(loadingNote);
    QCoreApplication::processEvents();
    const std::u16string file = base + suffix;
    if (!platform::FileExists(file)) return;
    words_ = ReadLines(file);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(words_.size()));
    for (const auto& word : words_) lines.append(Q(word));
    wlistMemo_->setPlainText(lines.join(u'\n'));
    label8_->setText(countPrefix +
                     Q(platform::GroupedIntText(static_cast<int64_t>(words_.size()))));
    QCoreApplication::processEvents();
    if (filterAtEnd) tntEdit1_->setText(QStringLiteral("A"));
}

void SearchDialog::SuchbegriffeLaden() {
    wlistMemo_->clear();
    tntEdit1_->clear();
    LoadWords(u"_ansi.txt", QStringLiteral("Wird geladen!"), QStringLiteral("Einträge: "), true);
}

void SearchDialog::SuchbegriffeLadenAsia() {
    wlistMemo_->clear();
    tntEdit1_->clear();
    LoadWords(u"_unicode.txt", QStringLiteral("Unicode-Liste: Wird geladen!"),
              QStringLiteral("Unicode-Einträge: "), false);
}

void SearchDialog::FilterChanged() {
    const int line = FirstLineStartingWith(words_, tntEdit1_->text().toStdU16String());
    if (line < 0) return;
    wlistMemo_->SelectLine(line);
    wlistMemo_->setFocus();
}

void SearchDialog::HistoryItemClicked() {
    const QListWidgetItem* item = tntListBox2_->currentItem();
    if (item == nullptr) return;
    QString text = tntEdit2_->text();
    if (!text.isEmpty()) text += u' ';
    tntEdit2_->setText(text + item->text());
    tntListBox2_->hide();
}

void SearchDialog::WordDoubleClicked(const QString& word) {
    tntEdit2_->setText(tntEdit2_->text() + u' ' + word);
}

void SearchDialog::ForwardKey(QKeyEvent* event) {
    tntEdit1_->setFocus();
    tntEdit1_->end(false);
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(tntEdit1_, &copy);
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tntEdit2_ && event->type() == QEvent::MouseButtonPress &&
        tntListBox2_->count() > 0) {
        tntListBox2_->setVisible(!tntListBox2_->isVisible());
        if (tntListBox2_->isVisible()) tntListBox2_->raise();
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
        tntListBox2_->resize(tntListBox2_->width(), wlistMemo_->height());
    }
}

void SearchDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (width() < 740 || height() < 463) {
        resize(std::max(width(), 740), std::max(height(), 463));
        return;
    }
    layout_.Apply(size());
    tntListBox2_->resize(tntListBox2_->width(), wlistMemo_->height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
}

}  // namespace vx::shell
