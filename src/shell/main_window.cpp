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

    toolBar1_ = new QWidget(this);
    speedButton3_ = new QPushButton(QStringLiteral("     Vantor-XML 1.5"), toolBar1_);
    speedButton3_->setFlat(true);
    speedButton3_->setEnabled(false);
    speedButton3_->setFont(MsSansSerifFont(21, true));
    toolButton1_ = new QWidget(toolBar1_);
    speedButton1_ = new QPushButton(QStringLiteral("?"), toolBar1_);
    speedButton1_->setFlat(true);
    speedButton1_->setFont(MsSansSerifFont(18, true));
    speedButton2_ = new QPushButton(toolBar1_);
    speedButton2_->setFlat(true);
    speedButton2_->setIcon(QIcon(SettingsPicture()));
    speedButton2_->setIconSize(QSize(28, 28));
    speedButton3_->setGeometry(0, 2, 208, kToolButtonHeight);
    FitFontToWidth(speedButton3_, speedButton3_->text(), 200);
    speedButton1_->resize(42, kToolButtonHeight);
    speedButton2_->resize(43, kToolButtonHeight);

    bevel3_ = MakeBevel(this);
    listBox1_ = new DatabaseListBox(this);
    bevel1_ = MakeBevel(this);
    panel1_ = new QFrame(this);
    panel1_->setFrameShape(QFrame::Panel);
    panel1_->setFrameShadow(QFrame::Sunken);
    panel1_->setLineWidth(2);
    panel1_->setAutoFillBackground(true);
    image1_ = new QLabel(panel1_);
    image1_->setGeometry(5, 4, 211, 129);
    image1_->setAlignment(Qt::AlignCenter);
    image1_->setToolTip(QStringLiteral("Hier könnte Ihr Logo Eindruck machen!"));

    suchenBtn_ =
        MakeCommandButton(this, QStringLiteral("&Suchen"),
                          QStringLiteral("In der ausgewählten Datenbank wird nach Text gesucht."));
    neuErstellenBtn_ =
        MakeCommandButton(this, QStringLiteral("  &Neue DB erstellen "),
                          QStringLiteral("Eine neue Datenbank wird  erstellt (indiziert)"));
    neuErstellenBtn_->setIcon(QIcon(NewDatabasePicture()));
    neuErstellenBtn_->setLayoutDirection(Qt::RightToLeft);  // the picture at the right
    erneutIndiziereBtn_ =
        MakeCommandButton(this, QStringLiteral("DB erneut indizieren"),
                          QStringLiteral("Ausgewählte Datenbank wird neu indiziert"));
    bitBtn2_ = MakeCommandButton(this, kCloseCaption, QString());

    bevel2_ = MakeBevel(this);
    label1_ = MakeStatusLabel(this);
    label2_ = MakeStatusLabel(this);
    edit1_ = new QLineEdit(this);
    edit1_->setReadOnly(true);
    edit1_->setFrame(false);
    edit1_->setFont(ArialUnicodeFont(15, true));
    label3_ = MakeStatusLabel(this);
    geduldLabel_ = new QLabel(this);
    geduldLabel_->setFont(MsSansSerifFont(16, true));
    geduldLabel_->resize(120, 20);

    layout_.Add(toolBar1_, QRect(0, 0, kDesignClient.width(), kToolBarHeight),
                kLeft | kTop | kRight);
    layout_.Add(bevel3_, QRect(28, 39, 721, 342), kLeft | kTop | kRight | kBottom);
    layout_.Add(listBox1_, QRect(35, 44, 708, 336), kLeft | kTop | kRight | kBottom);
    layout_.Add(bevel1_, QRect(747, 39, 234, 342), kTop | kRight | kBottom);
    layout_.Add(panel1_, QRect(755, 44, 221, 137), kTop | kRight);
    layout_.Add(suchenBtn_, QRect(754, 186, 221, 40), kTop | kRight);
    layout_.Add(neuErstellenBtn_, QRect(754, 238, 221, 40), kTop | kRight);
    layout_.Add(erneutIndiziereBtn_, QRect(754, 289, 221, 40), kTop | kRight);
    layout_.Add(bitBtn2_, QRect(754, 340, 221, 40), kRight | kBottom);
    layout_.Add(bevel2_, QRect(28, 387, 953, 85), kLeft | kRight | kBottom);
    layout_.Add(label1_, QRect(42, 390, 700, 20), kLeft | kBottom);
    layout_.Add(label2_, QRect(42, 411, 926, 20), kLeft | kBottom);
    layout_.Add(edit1_, QRect(42, 431, 926, 18), kLeft | kRight | kBottom);
    layout_.Add(label3_, QRect(42, 450, 926, 20), kLeft | kBottom);
    for (QWidget* w : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_),
                       static_cast<QWidget*>(label3_)}) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    geduldLabel_->raise();

    gedultTimer_ = new QTimer(this);
    gedultTimer_->setInterval(1000);
    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(gedultTimer_, &QTimer::timeout, this, &MainWindow::GedultTimerTimer);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);

    connect(suchenBtn_, &QPushButton::clicked, this, &MainWindow::SuchenBtnClick);
    connect(neuErstellenBtn_, &QPushButton::clicked, this, &MainWindow::NeuErstellenBtnClick);
    connect(erneutIndiziereBtn_, &QPushButton::clicked, this, &MainWindow::ErneutIndiziereBtnClick);
    connect(bitBtn2_, &QPushButton::clicked, this, &MainWindow::BitBtn2Click);
    connect(speedButton1_, &QPushButton::clicked, this, &MainWindow::SpeedButton1Click);
    connect(speedButton2_, &QPushButton::clicked, this, &MainWindow::SpeedButton2Click);
    connect(listBox1_, &DatabaseListBox::RowClicked, this, &MainWindow::ListBox1Click);
    connect(listBox1_, &DatabaseListBox::RowDoubleClicked, this, &MainWindow::SuchenBtnClick);
    ShowLogo();
}

void MainWindow::ShowLogo() {
    image1_->setPixmap(LogoPicture(211, 129, logoTransparent_));
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
    const int separator = width() - 3 * speedButton1_->width() - speedButton3_->width() + 2;
    toolButton1_->setGeometry(speedButton3_->width(), 2, separator, kToolButtonHeight);
    speedButton1_->move(toolButton1_->geometry().right() + 1, 2);
    speedButton2_->move(speedButton1_->geometry().right() + 1, 2);
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
    return {speedButton1_, speedButton2_, label1_, label2_, edit1_, label3_, geduldLabel_};
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
