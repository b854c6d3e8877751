#include "shell/new_database_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QUrl>

#include "indexing/new_database_checks.h"
#include "platform/paths.h"
#include "shell/button_captions.h"
#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/qt_text.h"
#include "shell/ui_fonts.h"
#include "shell/widget_colours.h"

namespace vx::shell {
namespace {

// Whether a folder lies on drive C:. Folders here are written with the drive Z: standing for the
// root, and a colon is a valid character in a folder name, so only the drive at the start of the
// path counts (Z:\srv\abc:\ is no folder of drive C:).
bool OnDriveC(const std::u16string& folder) {
    return folder.size() >= 3 && (folder[0] == u'C' || folder[0] == u'c') && folder[1] == u':' &&
           folder[2] == u'\\';
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QRect r) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(r);
    label->setFont(ArialUnicodeFont(15, true));
    return label;
}

}  // namespace

NewDatabaseDialog::NewDatabaseDialog(MainWindow& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Neue Datenbank"));
    setFixedSize(560, 520);
    SetBackgroundColour(this, ToQColor(kDefaultBackground));
    const QFont fieldFont = ArialUnicodeFont(15, false);

    nameLabel_ = MakeLabel(this, QStringLiteral("Name der Datenbank: "), QRect(20, 12, 520, 20));
    nameField_ = new QLineEdit(this);
    nameField_->setGeometry(20, 34, 520, 26);
    nameField_->setFont(fieldFont);
    folderLabel_ = MakeLabel(
        this, QStringLiteral("Laufwerk/Verzeichnis, welches nach Dateien durchsucht werden soll:"),
        QRect(20, 70, 520, 20));
    FitFontToWidth(folderLabel_, folderLabel_->text(), 520);
    driveBox_ = new QComboBox(this);
    driveBox_->setGeometry(20, 92, 520, 26);
    driveBox_->setFont(fieldFont);
    folderTree_ = new QTreeView(this);
    folderTree_->setGeometry(20, 124, 520, 250);
    folderTree_->setFont(fieldFont);
    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    folderTree_->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column) {
        folderTree_->hideColumn(column);
    }
    folderTree_->header()->hide();
    folderField_ = new QLineEdit(this);
    folderField_->setGeometry(20, 382, 520, 26);
    folderField_->setFont(fieldFont);
    maskLabel_ = MakeLabel(this, QStringLiteral("PDF-Daterien:"), QRect(20, 420, 150, 26));
    maskField_ = new QLineEdit(QStringLiteral("*,xml"), this);
    maskField_->setGeometry(170, 420, 120, 26);
    maskField_->setReadOnly(true);
    maskField_->setFont(fieldFont);
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setGeometry(150, 470, 120, 32);
    okButton_->setFont(ArialUnicodeFont(15, true));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(kCancelCaption, this);
    cancelButton_->setGeometry(290, 470, 120, 32);
    cancelButton_->setFont(ArialUnicodeFont(15, true));

    connect(nameField_, &QLineEdit::textChanged, this, &NewDatabaseDialog::NameFieldChanged);
    connect(folderField_, &QLineEdit::textChanged, this, &NewDatabaseDialog::FolderFieldChanged);
    connect(driveBox_, &QComboBox::activated, this, &NewDatabaseDialog::DriveBoxChanged);
    connect(folderTree_, &QTreeView::clicked, this, &NewDatabaseDialog::FolderTreeChanged);
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &NewDatabaseDialog::FolderTreeChanged);
    connect(okButton_, &QPushButton::clicked, this, &NewDatabaseDialog::OkButtonClick);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    // The drives are the mounted file systems; the tree starts on the one holding the current
    // folder, and the folder field on the current folder itself.
    drives_ = MountedDrives();
    for (const auto& drive : drives_) {
        QString text = Q(platform::ToWindowsPath(drive.mountPoint));
        if (!drive.type.empty())
            text += QStringLiteral("  [%1]").arg(QString::fromStdString(drive.type));
        driveBox_->addItem(text);
    }
    const std::u16string current = platform::CurrentDirectory();
    const std::string currentHost = platform::ToHostPath(current);
    ShowDrive(DriveOf(drives_, currentHost));
    const QModelIndex currentIndex = folderModel_->index(QString::fromStdString(currentHost));
    folderTree_->setCurrentIndex(currentIndex);
    folderTree_->scrollTo(currentIndex);
    SetFolderText(current);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
}

std::u16string NewDatabaseDialog::NameText() const {
    return nameField_->text().toStdU16String();
}
void NewDatabaseDialog::SetNameText(const std::u16string& text) {
    nameField_->setText(Q(text));
}
std::u16string NewDatabaseDialog::FolderText() const {
    QString text = folderField_->text();
    // A Linux path or a file URL, as pasted from a file manager, stands for its Windows form
    // (the drive Z: is the root).
    if (text.startsWith(QStringLiteral("file://"))) text = QUrl(text).toLocalFile();
    if (!text.startsWith(u'/')) return text.toStdU16String();
    while (text.size() > 1 && text.endsWith(u'/')) text.chop(1);
    return platform::ToWindowsPath(QFile::encodeName(text).toStdString());
}
void NewDatabaseDialog::SetFolderText(const std::u16string& text) {
    folderField_->setText(Q(text));
}
std::u16string NewDatabaseDialog::MaskText() const {
    return maskField_->text().toStdU16String();
}
void NewDatabaseDialog::SetMaskText(const std::u16string& text) {
    maskField_->setText(Q(text));
}

std::vector<QWidget*> NewDatabaseDialog::NoticeGroupControls() const {
    return {nameLabel_, folderLabel_, maskLabel_};
}

void NewDatabaseDialog::ShowDrive(const std::string& mountPoint) {
    shownDrive_ = mountPoint;
    const QString path = QString::fromStdString(mountPoint);
    folderModel_->setRootPath(path);
    folderTree_->setRootIndex(folderModel_->index(path));
    for (std::size_t i = 0; i < drives_.size(); ++i) {
        if (drives_[i].mountPoint == mountPoint) driveBox_->setCurrentIndex(static_cast<int>(i));
    }
}

void NewDatabaseDialog::DriveBoxChanged(int index) {
    if (index < 0 || index >= static_cast<int>(drives_.size())) return;
    ShowDrive(drives_[static_cast<std::size_t>(index)].mountPoint);
}

void NewDatabaseDialog::FolderTreeChanged() {
    const QModelIndex index = folderTree_->currentIndex();
    if (!index.isValid()) return;
    SetFolderText(platform::ToWindowsPath(folderModel_->filePath(index).toStdString()));
}

void NewDatabaseDialog::NameFieldChanged() {
    if (cleaning_) return;
    const std::u16string text = NameText();
    bool removed = false;
    const std::u16string cleaned = indexing::RemoveInvalidNameChars(text, removed);
    if (!removed) return;
    const int cursor = nameField_->cursorPosition();
    cleaning_ = true;
    nameField_->setText(Q(cleaned));
    nameField_->setCursorPosition(
        std::max(0, cursor - static_cast<int>(text.size() - cleaned.size())));
    cleaning_ = false;
    if (!text.empty()) {
        main_.Message(MessageKind::Plain, QStringLiteral("Vantor-XML"),
                      Q(indexing::kInvalidNameMessage));
    }
}

void NewDatabaseDialog::FolderFieldChanged() {
    if (noticeShown_) return;
    const std::u16string folder = FolderText();
    if (OnDriveC(folder) && indexing::NeedsAdministratorNotice(folder, main_.IsAdministrator())) {
        noticeShown_ = true;
        main_.Message(MessageKind::Information, QStringLiteral("Information"),
                      Q(indexing::kAdministratorNotice));
    }
}

void NewDatabaseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    nameField_->setFocus();
    // The dialog hands the focus on as if by the Tab key once it is shown, which selects the
    // whole name; the field is shown without a selection, so it is cleared after that.
    QMetaObject::invokeMethod(nameField_, &QLineEdit::deselect, Qt::QueuedConnection);
}

void NewDatabaseDialog::OkButtonClick() {
    std::vector<std::u16string> rows;
    rows.reserve(static_cast<std::size_t>(main_.List()->count()));
    for (int row = 0; row < main_.List()->count(); ++row)
        rows.push_back(main_.List()->RowText(row));
    const indexing::DatabaseChecks checks = indexing::CheckNewDatabase(
        NameText(), FolderText(),
        updateMode_ ? indexing::DialogMode::Update : indexing::DialogMode::Create, rows);
    for (const auto& message : checks.messages) {
        main_.Message(MessageKind::Information, QStringLiteral("Information"), Q(message));
    }
    if (!checks.ok) {
        reject();
        return;
    }
    baseName_ = NameText();
    accept();
}

}  // namespace vx::shell
