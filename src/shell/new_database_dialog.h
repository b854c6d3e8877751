// The new-database dialog: name, folder and scan mask of a database to create or re-index.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "shell/mounted_drives.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace vx::shell {

class MainWindow;

class NewDatabaseDialog : public QDialog {
    Q_OBJECT

  public:
    explicit NewDatabaseDialog(MainWindow& main);

    // Create or re-index: the duplicate-name check applies only to create.
    void SetUpdateMode(bool update) { updateMode_ = update; }
    std::u16string NameText() const;
    void SetNameText(const std::u16string& text);
    // The folder in Windows form; a Linux path typed or pasted into the field is turned into it.
    std::u16string FolderText() const;
    void SetFolderText(const std::u16string& text);
    std::u16string MaskText() const;
    void SetMaskText(const std::u16string& text);
    // The name remembered by the last successful OK (base of the word-list files).
    std::u16string BaseName() const { return baseName_; }

    // Shows the folders of the drive (a mount point on the host) in the folder tree.
    void ShowDrive(const std::string& mountPoint);
    std::string ShownDrive() const { return shownDrive_; }
    std::vector<QWidget*> NoticeGroupControls() const;

    void OkButtonClick();
    QLineEdit* NameField() const { return nameField_; }
    QLineEdit* FolderField() const { return folderField_; }
    QComboBox* DriveBox() const { return driveBox_; }
    QTreeView* FolderTree() const { return folderTree_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void NameFieldChanged();
    void FolderFieldChanged();
    void DriveBoxChanged(int index);
    void FolderTreeChanged();

    MainWindow& main_;
    bool updateMode_ = false;
    bool noticeShown_ = false;
    bool cleaning_ = false;
    std::u16string baseName_;
    std::vector<MountedDrive> drives_;
    std::string shownDrive_;
    QLabel* nameLabel_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QComboBox* driveBox_ = nullptr;
    QTreeView* folderTree_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    QLineEdit* folderField_ = nullptr;
    QLabel* maskLabel_ = nullptr;
    QLineEdit* maskField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vx::shell
