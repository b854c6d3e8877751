// The settings dialog, the search dialog with its word list, the new-database dialog and the
// notice window.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTreeView>

#include "indexing/new_database_checks.h"
#include "platform/paths.h"
#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "shell/qt_text.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"
#include "shell/settings_store.h"
#include "shell/widget_colours.h"
#include "shell/word_list_view.h"
#include "test_registry.h"
#include "test_support.h"
#include "textio/text_file.h"

namespace vx::shell::test {
namespace {

QColor WindowColour(const QWidget* w) {
    return w->palette().color(QPalette::Window);
}

std::vector<QWidget*> NoticeGroup(const AppWindows& windows) {
    std::vector<QWidget*> all = windows.main->NoticeGroupControls();
    for (auto* w : windows.settings->NoticeGroupControls()) all.push_back(w);
    for (auto* w : windows.search->NoticeGroupControls()) all.push_back(w);
    for (auto* w : windows.newDatabase->NoticeGroupControls()) all.push_back(w);
    return all;
}

std::vector<QWidget*> BackgroundGroup(const AppWindows& windows) {
    return {windows.main.get(), windows.settings, windows.search, windows.newDatabase,
            windows.main->LogoPanel()};
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void backgroundColourIsStoredAtOnce() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        SettingsDialog& settings = *windows.settings;
        settings.PrepareShow();
        shell.runner.colours.push_back(QColor(0, 128, 0));
        settings.FarbenAendernButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("clGreen"));
        for (QWidget* w : BackgroundGroup(windows)) QCOMPARE(WindowColour(w), QColor(0, 128, 0));
        // The current-file field keeps its background until the next start.
        QCOMPARE(windows.main->CurrentFileField()->palette().color(QPalette::Base),
                 QColor(128, 0, 64));
        QVERIFY(windows.main->LogoTransparent());
        QVERIFY(settings.BackgroundChosen());
        QCOMPARE(windows.main->List()->HighlightColour(), DarkenSevenPercent(0x00008000));
    }

    void cancelRestoresColourOfTheOpening() {
        Sandbox sandbox;
        Sandbox::Store(kSelectedDatabase, u"0");
        Sandbox::Store(kBackgroundColour, u"$00123456");
        TestShell shell;
        AppWindows windows = shell.Start();
        SettingsDialog& settings = *windows.settings;
        const QColor before = ToQColor(0x00123456);
        QCOMPARE(WindowColour(windows.main.get()), before);
        QVERIFY(windows.main->LogoTransparent());

        settings.PrepareShow();
        shell.runner.colours.push_back(QColor(255, 255, 0));
        settings.FarbenAendernButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("clYellow"));
        settings.AbbruchButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00123456"));
        for (QWidget* w : BackgroundGroup(windows)) QCOMPARE(WindowColour(w), before);
        QVERIFY(windows.main->LogoTransparent());

        // A later opening without a change keeps the colour as well.
        settings.PrepareShow();
        settings.AbbruchButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00123456"));
        QCOMPARE(WindowColour(windows.main.get()), before);
    }

    void escapeActsAsCancel() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        SettingsDialog& settings = *windows.settings;
        settings.PrepareShow();
        settings.show();
        shell.runner.colours.push_back(QColor(0, 0, 255));
        settings.FarbenAendernButtonClick();
        QTest::keyClick(&settings, Qt::Key_Escape);
        QVERIFY(!settings.isVisible());
        QCOMPARE(settings.result(), int(QDialog::Rejected));
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00400080"));
        QCOMPARE(WindowColour(windows.search), QColor(128, 0, 64));
    }

    void noticeColourGoesToTwentyControls() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        const std::vector<QWidget*> group = NoticeGroup(windows);
        QCOMPARE(group.size(), size_t(20));
        for (QWidget* w : group) QCOMPARE(TextColourOf(w), QColor(Qt::white));
        shell.runner.colours.push_back(QColor(255, 128, 0));
        windows.settings->HinweistexteFarbenAendernButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kNoticeColour)), QString("$000080FF"));
        for (QWidget* w : group) QCOMPARE(TextColourOf(w), QColor(255, 128, 0));
        // A cancelled picker changes nothing.
        windows.settings->HinweistexteFarbenAendernButtonClick();
        windows.settings->FarbenAendernButtonClick();
        QCOMPARE(Q(Sandbox::Stored(kNoticeColour)), QString("$000080FF"));
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00400080"));
        QVERIFY(!windows.settings->BackgroundChosen());
    }

    void restoreStandardKeepsClipboardOption() {
        Sandbox sandbox;
        Sandbox::Store(kSelectedDatabase, u"0");
        Sandbox::Store(kBackgroundColour, u"clNavy");
        Sandbox::Store(kNoticeColour, u"clRed");
        Sandbox::Store(kHeight, u"700");
        Sandbox::Store(kWidth, u"900");
        Sandbox::Store(kCopyToClipboard, u"0");
        TestShell shell;
        AppWindows windows = shell.Start();
        QVERIFY(!windows.settings->CopyToClipboard());
        windows.settings->Button1Click();
        const QString width = QString::number(windows.main->DefaultWidth());
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00400080"));
        QCOMPARE(Q(Sandbox::Stored(kNoticeColour)), QString("clWhite"));
        QCOMPARE(Q(Sandbox::Stored(kHeight)), QString("534"));
        QCOMPARE(Q(Sandbox::Stored(kWidth)), width);
        QCOMPARE(Q(Sandbox::Stored(kSearchHeight)), QString("535"));
        QCOMPARE(Q(Sandbox::Stored(kSearchWidth)), width);
        QCOMPARE(Q(Sandbox::Stored(kCopyToClipboard)), QString("0"));
        QCOMPARE(windows.main->size(), QSize(std::max(700, windows.main->DefaultWidth()), 535));
        QCOMPARE(windows.main->CurrentFileField()->palette().color(QPalette::Base),
                 QColor(128, 0, 64));
        QVERIFY(!windows.main->LogoTransparent());
        for (QWidget* w : NoticeGroup(windows)) QCOMPARE(TextColourOf(w), QColor(Qt::white));
        QVERIFY(!windows.settings->CopyToClipboard());
    }

    void clipboardOptionReadAtStart_data() {
        QTest::addColumn<bool>("store");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("absent keeps the initial state") << false << "" << true;
        QTest::newRow("1") << true << "1" << true;
        QTest::newRow("0") << true << "0" << false;
        QTest::newRow("2 is not 1") << true << "2" << false;
        QTest::newRow("not a number") << true << "ja" << false;
    }
    void clipboardOptionReadAtStart() {
        QFETCH(bool, store);
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        Sandbox sandbox;
        Sandbox::Store(kSelectedDatabase, u"0");
        if (store) Sandbox::Store(kCopyToClipboard, stored.toStdU16String());
        TestShell shell;
        AppWindows windows = shell.Start();
        QCOMPARE(windows.settings->CopyToClipboard(), checked);
        // Reading it writes nothing.
        QCOMPARE(Q(Sandbox::Stored(kCopyToClipboard)), stored);
    }

    void okStoresClipboardOption_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("on") << true << "1";
        QTest::newRow("off") << false << "0";
    }
    void okStoresClipboardOption() {
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.settings->ClipboardCheckBox()->setChecked(checked);
        windows.settings->OkButton()->click();
        QCOMPARE(windows.settings->result(), int(QDialog::Accepted));
        QCOMPARE(Q(Sandbox::Stored(kCopyToClipboard)), stored);
    }

    void searchCheckBoxRules_data() {
        QTest::addColumn<QString>("start");  // und, oder, phrase as 0/1
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("after");
        QTest::newRow("phrase on while ODER on") << "010"
                                                 << "phrase"
                                                 << "101";
        QTest::newRow("UND off clears phrase") << "101"
                                               << "und"
                                               << "000";
        QTest::newRow("UND on while ODER on") << "010"
                                              << "und"
                                              << "100";
        QTest::newRow("ODER on while UND on") << "100"
                                              << "oder"
                                              << "010";
        QTest::newRow("ODER on clears phrase") << "101"
                                               << "oder"
                                               << "010";
        QTest::newRow("ODER off leaves both off") << "010"
                                                  << "oder"
                                                  << "000";
        QTest::newRow("phrase off changes nothing else") << "101"
                                                         << "phrase"
                                                         << "100";
    }
    void searchCheckBoxRules() {
        QFETCH(QString, start);
        QFETCH(QString, click);
        QFETCH(QString, after);
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        dialog.UndBox()->setChecked(start[0] == '1');
        dialog.OderBox()->setChecked(start[1] == '1');
        dialog.PhraseBox()->setChecked(start[2] == '1');
        QCheckBox* box = click == "und"    ? dialog.UndBox()
                         : click == "oder" ? dialog.OderBox()
                                           : dialog.PhraseBox();
        box->click();
        const QString state = QString("%1%2%3")
                                  .arg(int(dialog.UndBox()->isChecked()))
                                  .arg(int(dialog.OderBox()->isChecked()))
                                  .arg(int(dialog.PhraseBox()->isChecked()));
        QCOMPARE(state, after);
    }

    void searchDialogStartState() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        QCOMPARE(dialog.LimitField()->value(), 50);
        QCOMPARE(dialog.LimitField()->minimum(), 1);
        QCOMPARE(dialog.LimitField()->maximum(), 50);
        QVERIFY(dialog.OderBox()->isChecked());
        QVERIFY(!dialog.UndBox()->isChecked() && !dialog.PhraseBox()->isChecked());
        QVERIFY(!dialog.HistoryList()->isVisible());
        QCOMPARE(dialog.size(), QSize(1024, 535));
        dialog.resize(500, 300);
        QCOMPARE(dialog.size(), QSize(740, 463));
    }

    void wordListLoadsWithLinkedNote() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Projekte.dat");
        QByteArray words;
        for (int i = 0; i < 1234; ++i)
            words += QString("B%1\r\n").arg(i, 5, 10, QChar('0')).toUtf8();
        words = "APFEL\r\nAST\r\n" + words;
        sandbox.Touch("Datenbank/Projekte_ansi.txt", words);
        sandbox.Touch("Datenbank/Projekte_unicode.txt", QString("ÄPFEL\r\nЖУК\r\n").toUtf8());
        textio::WriteUtf16LeLines(
            {u"Indizierung", u"Heute 12:00.    1.234 Wörter in Datenbank aufgenommen."},
            platform::ToWindowsPath(
                (sandbox.Path() + "/work/Datenbank/Projekte.log").toStdString()));
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        dialog.SuchbegriffeLaden();
        QCOMPARE(dialog.WordCount(), 1236);
        QCOMPARE(dialog.CountLabel()->text(), QString("Einträge: 1.236"));
        QCOMPARE(dialog.LinkedLabel()->text(), QString("1.234 Einträge verlinkt."));
        QCOMPARE(dialog.FilterField()->text(), QString("A"));
        QCOMPARE(dialog.WordList()->SelectedLine(), QString("APFEL"));
        dialog.FilterField()->setText("b01");
        QCOMPARE(dialog.WordList()->SelectedLine(), QString("B01000"));
        dialog.FilterField()->setText("zz");  // no match: the selection stays
        QCOMPARE(dialog.WordList()->SelectedLine(), QString("B01000"));

        dialog.SuchbegriffeLadenAsia();
        QCOMPARE(dialog.WordCount(), 2);
        QCOMPARE(dialog.CountLabel()->text(), QString("Unicode-Einträge: 2"));
        QCOMPARE(dialog.FilterField()->text(), QString());
    }

    void missingWordListKeepsLoadingNote() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Leer.dat");
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.search->SuchbegriffeLaden();
        QCOMPARE(windows.search->CountLabel()->text(), QString("Wird geladen!"));
        QCOMPARE(windows.search->WordCount(), 0);
        QCOMPARE(windows.search->LinkedLabel()->text(), QString());
    }

    void wordListKeysAndDoubleClick() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/P.dat");
        sandbox.Touch("Datenbank/P_ansi.txt", "AAL\r\nBAUM\r\nHAUS\r\n");
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        dialog.show();
        dialog.SuchbegriffeLaden();
        // A key typed in the list goes to the end of the filter field.
        dialog.FilterField()->setText("H");
        QTest::keyClick(dialog.WordList(), Qt::Key_A);
        QCOMPARE(dialog.FilterField()->text(), QString("Ha"));
        QCOMPARE(dialog.WordList()->SelectedLine(), QString("HAUS"));
        dialog.SetSearchText(u"");
        const QRect line = dialog.WordList()->cursorRect(
            QTextCursor(dialog.WordList()->document()->findBlockByNumber(1)));
        QTest::mouseDClick(dialog.WordList()->viewport(), Qt::LeftButton, {},
                           line.center() + QPoint(4, 0));
        QCOMPARE(dialog.SearchField()->text(), QString(" BAUM"));
        dialog.hide();
    }

    void historyListToggleAndPick() {
        Sandbox sandbox;
        textio::WriteUtf16LeLines(
            {u"haus baum", u"wald"},
            platform::ToWindowsPath((sandbox.Path() + "/work/Suchwoerterliste.txt").toStdString()));
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        QCOMPARE(dialog.HistoryList()->count(), 2);
        dialog.show();
        QTest::mouseClick(dialog.SearchField(), Qt::LeftButton);
        QVERIFY(dialog.HistoryList()->isVisible());
        QCOMPARE(dialog.HistoryList()->height(), dialog.WordList()->height());
        dialog.SetSearchText(u"erde");
        QListWidget* history = dialog.HistoryList();
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                          history->visualItemRect(history->item(1)).center());
        QCOMPARE(dialog.SearchField()->text(), QString("erde wald"));
        QVERIFY(!history->isVisible());
        dialog.hide();
    }

    void confirmCheckRefusesSixWords() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        SearchDialog& dialog = *windows.search;
        windows.settings->SetCopyToClipboard(false);
        dialog.SetSearchText(u"a b c d e f");
        dialog.OKBtnClick();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(shell.runner.MessageTexts(),
                 QStringList{"Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben 6 "
                             "eingetragen!"});
        dialog.SetSearchText(u"   ");
        dialog.OKBtnClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.SearchField()->text(), QString("Sie_haben_keinen_Suchtext_eingegeben!"));
    }

    void newDatabaseDialogOpensWithoutSelection() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        NewDatabaseDialog& dialog = *windows.newDatabase;
        for (int opening = 0; opening < 2; ++opening) {
            dialog.SetNameText(u"Projekte");
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCoreApplication::processEvents();
            QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.NameField()));
            QVERIFY(!dialog.NameField()->hasSelectedText());
            QCOMPARE(dialog.NameField()->text(), QString("Projekte"));
            dialog.hide();
        }
    }

    void nameFieldCleaning() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        NewDatabaseDialog& dialog = *windows.newDatabase;
        QTest::keyClicks(dialog.NameField(), "Pro:jekt");
        QCOMPARE(dialog.NameField()->text(), QString("Projekt"));
        QCOMPARE(shell.runner.MessageTexts(), QStringList{Q(indexing::kInvalidNameMessage)});
        QCOMPARE(shell.runner.messages.front().kind, MessageKind::Plain);
        // A pasted text of only invalid characters empties the field with one more message.
        dialog.NameField()->setText("<>|");
        QCOMPARE(dialog.NameField()->text(), QString());
        QCOMPARE(shell.runner.messages.size(), size_t(2));
    }

    void newDatabaseChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<bool>("update");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty name and folder") << "" << false << false << 2 << false;
        QTest::newRow("existing name") << "ALT" << true << false << 1 << false;
        QTest::newRow("existing name in re-index mode") << "Alt" << true << true << 0 << true;
        QTest::newRow("new name") << "Neu" << true << false << 0 << true;
        QTest::newRow("blanks pass the empty check") << "   " << true << false << 0 << true;
    }
    void newDatabaseChecks() {
        QFETCH(QString, name);
        QFETCH(bool, folderExists);
        QFETCH(bool, update);
        QFETCH(int, messages);
        QFETCH(bool, accepted);
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Alt.dat");
        sandbox.Touch("docs/a.xml");
        TestShell shell;
        AppWindows windows = shell.Start();
        NewDatabaseDialog& dialog = *windows.newDatabase;
        dialog.SetUpdateMode(update);
        dialog.SetNameText(name.toStdU16String());
        dialog.SetFolderText(
            folderExists ? platform::ToWindowsPath((sandbox.Path() + "/work/docs").toStdString())
                         : std::u16string());
        dialog.OkButton()->click();
        QCOMPARE(int(shell.runner.messages.size()), messages);
        QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        if (accepted) QCOMPARE(Q(dialog.BaseName()), name);
    }

    void administratorNotice_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<bool>("administrator");
        QTest::addColumn<int>("notices");
        QTest::newRow("drive C:") << QStringList{"C:\\Daten"} << false << 1;
        QTest::newRow("drive c: in small letters") << QStringList{"c:\\daten"} << false << 1;
        QTest::newRow("root of drive C:") << QStringList{"C:\\"} << false << 1;
        QTest::newRow("administrator") << QStringList{"C:\\Daten"} << true << 0;
        QTest::newRow("once per program run")
            << QStringList{"C:\\A", "Z:\\tmp", "C:\\Windows"} << false << 1;
        QTest::newRow("the root drive Z:") << QStringList{"Z:\\", "Z:\\home\\daten"} << false << 0;
        // A colon is a valid character in a folder name here; "abc:" is no drive.
        QTest::newRow("folder name ending in c:")
            << QStringList{"Z:\\home\\abc:\\daten"} << false << 0;
        QTest::newRow("folder name ending in C: upper-case")
            << QStringList{"Z:\\srv\\MUSIC:\\"} << false << 0;
    }
    void administratorNotice() {
        QFETCH(QStringList, folders);
        QFETCH(bool, administrator);
        QFETCH(int, notices);
        Sandbox sandbox;
        TestShell shell;
        shell.administrator = administrator;
        AppWindows windows = shell.Start();
        QCOMPARE(windows.main->IsAdministrator(), administrator);
        QVERIFY(shell.runner.messages.empty());  // the current folder lies on Z:
        for (const QString& folder : folders) {
            windows.newDatabase->SetFolderText(folder.toStdU16String());
        }
        QCOMPARE(int(shell.runner.messages.size()), notices);
        for (const ShownMessage& message : shell.runner.messages) {
            QCOMPARE(message.kind, MessageKind::Information);
            QVERIFY(
                message.text.startsWith("Wenn Sie auf Laufwerk \"C:\\\" oder speziell im "
                                        "Ordner \"C:\\Windows\" Dateien indizieren möchten,"));
            QVERIFY(message.text.endsWith("Bezw. es werden nicht alle Dokumente indiziert."));
        }
    }

    void folderTreeFillsFolderField() {
        Sandbox sandbox;
        sandbox.Touch("docs/sub/a.xml");
        TestShell shell;
        AppWindows windows = shell.Start();
        NewDatabaseDialog& dialog = *windows.newDatabase;
        // Creation shows the current folder in Windows form.
        QCOMPARE(Q(dialog.FolderText()),
                 Q(platform::ToWindowsPath((sandbox.Path() + "/work").toStdString())));
        QVERIFY(dialog.DriveBox()->count() >= 1);
        QCOMPARE(dialog.DriveBox()->itemText(0).left(3), QString("Z:\\"));
        auto* model = static_cast<QFileSystemModel*>(dialog.FolderTree()->model());
        const QString sub = sandbox.Path() + "/work/docs/sub";
        dialog.FolderTree()->setCurrentIndex(model->index(sub));
        QCOMPARE(Q(dialog.FolderText()), Q(platform::ToWindowsPath(sub.toStdString())));
        dialog.ShowDrive("/");
        QCOMPARE(model->filePath(dialog.FolderTree()->rootIndex()), QString("/"));
    }

    void noticeWindowText() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        NoticeWindow& notice = *windows.notice;
        QString shown;
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            shown = notice.TextBox()->toPlainText();
            notice.YesButton()->click();
            return dialog.result();
        });
        QVERIFY(notice.Ask(3, u"12 MB"));
        QCOMPARE(shown, QString("Es wurden 3 XML-Dokumente mit einer Gesamtgröße von 12 MB "
                                "gefunden.\n\nMöchten Sie mit der Indizierung beginnen ?"));
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            notice.NoButton()->click();
            return dialog.result();
        });
        QVERIFY(!notice.Ask(3, u"12 MB"));
        QVERIFY(!notice.Ask(3, u"12 MB"));  // closed without an answer
    }
};

static RegisterTest<DialogsTest> registerDialogsTest;

}  // namespace vx::shell::test

#include "dialogs_test.moc"
