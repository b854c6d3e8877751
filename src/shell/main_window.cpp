#include "shell/main_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "indexing/commands.h"
#include "search/search_run.h"
#include "shell/background_task.h"
#include "shell/button_captions.h"
#include "shell/database_list_box.h"
#include "shell/pictures.h"
#include "shell/qt_host.h"
#include "shell/ui_fonts.h"

namespace vx::shell {
namespace {

// The client area of the window at its design size of 1024 x 535.
constexpr QSize kDesignClient(1008, 497);
constexpr int kToolBarHeight = 40;
constexpr int kToolButtonHeight = 36;

QFrame* MakeBevel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLabel* MakeStatusLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFont(ArialUnicodeFont(15, true));
    return label;
}

QPushButton* MakeCommandButton(QWidget* parent, const QString& caption, const QString& tip) {
    auto* button = new QPushButton(caption, parent);
    button->setFont(ArialUnicodeFont(15, true));
    button->setToolTip(tip);
    // Black while enabled; disabled (during a run) in the style's grey.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

}  // namespace

void MainWindow::BuildControls() {
    setWindowTitle(QString());
    setAutoFillBackground(true);

    toolBar_ = new QWidget(this);
    titlePlate_ = new QPushButton(QStringLiteral("     Vantor-XML 1.5"), toolBar_);
    titlePlate_->setFlat(true);
    titlePlate_->setEnabled(false);
    titlePlate_->setFont(MsSansSerifFont(21, true));
    toolBarSpacer_ = new QWidget(toolBar_);
    manualButton_ = new QPushButton(QStringLiteral("?"), toolBar_);
    manualButton_->setFlat(true);
    manualButton_->setFont(MsSansSerifFont(18, true));
    settingsButton_ = new QPushButton(toolBar_);
    settingsButton_->setFlat(true);
    settingsButton_->setIcon(QIcon(SettingsPicture()));
    settingsButton_->setIconSize(QSize(28, 28));
    titlePlate_->setGeometry(0, 2, 208, kToolButtonHeight);
    FitFontToWidth(titlePlate_, titlePlate_->text(), 200);
    manualButton_->resize(42, kToolButtonHeight);
    settingsButton_->resize(43, kToolButtonHeight);

    listFrame_ = MakeBevel(this);
    databaseList_ = new DatabaseListBox(this);
    commandFrame_ = MakeBevel(this);
    logoPanel_ = new QFrame(this);
    logoPanel_->setFrameShape(QFrame::Panel);
    logoPanel_->setFrameShadow(QFrame::Sunken);
    logoPanel_->setLineWidth(2);
    logoPanel_->setAutoFillBackground(true);
    logo_ = new QLabel(logoPanel_);
    logo_->setGeometry(5, 4, 211, 129);
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setToolTip(QStringLiteral("Hier könnte Ihr Logo Eindruck machen!"));

    searchButton_ =
        MakeCommandButton(this, QStringLiteral("&Suchen"),
                          QStringLiteral("In der ausgewählten Datenbank wird nach Text gesucht."));
    createButton_ =
        MakeCommandButton(this, QStringLiteral("  &Neue DB erstellen "),
                          QStringLiteral("Eine neue Datenbank wird  erstellt (indiziert)"));
    createButton_->setIcon(QIcon(NewDatabasePicture()));
    createButton_->setLayoutDirection(Qt::RightToLeft);  // the picture at the right
    reindexButton_ = MakeCommandButton(this, QStringLiteral("DB erneut indizieren"),
                                       QStringLiteral("Ausgewählte Datenbank wird neu indiziert"));
    closeButton_ = MakeCommandButton(this, kCloseCaption, QString());

    statusFrame_ = MakeBevel(this);
    statusLabel_ = MakeStatusLabel(this);
    totalsLabel_ = MakeStatusLabel(this);
    currentFileField_ = new QLineEdit(this);
    currentFileField_->setReadOnly(true);
    currentFileField_->setFrame(false);
    currentFileField_->setFont(ArialUnicodeFont(15, true));
    progressLabel_ = MakeStatusLabel(this);
    patienceLabel_ = new QLabel(this);
    patienceLabel_->setFont(MsSansSerifFont(16, true));
    patienceLabel_->resize(120, 20);

    layout_.Add(toolBar_, QRect(0, 0, kDesignClient.width(), kToolBarHeight),
                kLeft | kTop | kRight);
    layout_.Add(listFrame_, QRect(28, 39, 721, 342), kLeft | kTop | kRight | kBottom);
    layout_.Add(databaseList_, QRect(35, 44, 708, 336), kLeft | kTop | kRight | kBottom);
    layout_.Add(commandFrame_, QRect(747, 39, 234, 342), kTop | kRight | kBottom);
    layout_.Add(logoPanel_, QRect(755, 44, 221, 137), kTop | kRight);
    layout_.Add(searchButton_, QRect(754, 186, 221, 40), kTop | kRight);
    layout_.Add(createButton_, QRect(754, 238, 221, 40), kTop | kRight);
    layout_.Add(reindexButton_, QRect(754, 289, 221, 40), kTop | kRight);
    layout_.Add(closeButton_, QRect(754, 340, 221, 40), kRight | kBottom);
    layout_.Add(statusFrame_, QRect(28, 387, 953, 85), kLeft | kRight | kBottom);
    layout_.Add(statusLabel_, QRect(42, 390, 700, 20), kLeft | kBottom);
    layout_.Add(totalsLabel_, QRect(42, 411, 926, 20), kLeft | kBottom);
    layout_.Add(currentFileField_, QRect(42, 431, 926, 18), kLeft | kRight | kBottom);
    layout_.Add(progressLabel_, QRect(42, 450, 926, 20), kLeft | kBottom);
    for (QWidget* w : {static_cast<QWidget*>(statusLabel_), static_cast<QWidget*>(totalsLabel_),
                       static_cast<QWidget*>(progressLabel_)}) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    patienceLabel_->raise();

    patienceTimer_ = new QTimer(this);
    patienceTimer_->setInterval(1000);
    elapsedTimer_ = new QTimer(this);
    elapsedTimer_->setInterval(1000);
    connect(patienceTimer_, &QTimer::timeout, this, &MainWindow::GedultTimerTimer);
    connect(elapsedTimer_, &QTimer::timeout, this, &MainWindow::Timer1Timer);

    connect(searchButton_, &QPushButton::clicked, this, &MainWindow::SuchenBtnClick);
    connect(createButton_, &QPushButton::clicked, this, &MainWindow::NeuErstellenBtnClick);
    connect(reindexButton_, &QPushButton::clicked, this, &MainWindow::ErneutIndiziereBtnClick);
    connect(closeButton_, &QPushButton::clicked, this, &MainWindow::BitBtn2Click);
    connect(manualButton_, &QPushButton::clicked, this, &MainWindow::SpeedButton1Click);
    connect(settingsButton_, &QPushButton::clicked, this, &MainWindow::SpeedButton2Click);
    connect(databaseList_, &DatabaseListBox::RowClicked, this, &MainWindow::ListBox1Click);
    connect(databaseList_, &DatabaseListBox::RowDoubleClicked, this, &MainWindow::SuchenBtnClick);
    ShowLogo();
}

void MainWindow::ShowLogo() {
    logo_->setPixmap(LogoPicture(211, 129, logoTransparent_));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (height() < 535) {
        resize(width(), 535);
        return;
    }
    if (width() < 700) {
        resize(700, height());
        return;
    }
    layout_.Apply(size());
    host_->SetMainWindowWidth(width());
    // The separator pushes "?" and the settings button to the right end of the bar.
    const int separator = width() - 3 * manualButton_->width() - titlePlate_->width() + 2;
    toolBarSpacer_->setGeometry(titlePlate_->width(), 2, separator, kToolButtonHeight);
    manualButton_->move(toolBarSpacer_->geometry().right() + 1, 2);
    settingsButton_->move(manualButton_->geometry().right() + 1, 2);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
    PlacePatienceIndicator();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (firstPaintPending_) {
        // The first-paint steps may resize and show message boxes: they run right after this
        // paint, before any other event of the window.
        QMetaObject::invokeMethod(this, &MainWindow::FirstPaint, Qt::QueuedConnection);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    const MessageAnswer answer =
        Message(MessageKind::Confirmation, QStringLiteral("Bestätigung"),
                QStringLiteral("Vantor-XML wirklich schließen?"), MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    Shutdown();
}

std::vector<QWidget*> MainWindow::NoticeGroupControls() const {
    return {manualButton_,     settingsButton_, statusLabel_,  totalsLabel_,
            currentFileField_, progressLabel_,  patienceLabel_};
}

}  // namespace vx::shell

namespace vx::shell {

MainWindow::MainWindow(ShellEnvironment environment, QWidget* parent)
    : QWidget(parent),
      environment_(std::move(environment)),
      host_(std::make_unique<QtHost>(*this)),
      task_(std::make_unique<BackgroundTask>(this)),
      layout_(kDesignClient) {
    setMinimumSize(700, 535);
    BuildControls();
    RunCreationSteps();
}

MainWindow::~MainWindow() {
    Shutdown();
}

}  // namespace vx::shell
