// One whole create-then-search through the window program, every modal dialog answered by the test,
// and the cancel of a running indexing.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "indexing/commands.h"
#include "platform/paths.h"
#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "shell/qt_host.h"
#include "shell/qt_text.h"
#include "shell/search_dialog.h"
#include "shell/settings_store.h"
#include "test_registry.h"
#include "test_support.h"

namespace vx::shell::test {
namespace {

QByteArray Document(const QString& text) {
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<doc><p>" + text + "</p></doc>\n")
        .toUtf8();
}

// Answers the new-database dialog with a name and a folder and presses "&OK".
std::function<int(QDialog&)> FillNewDatabase(NewDatabaseDialog* dialog, QString name,
                                             QString hostFolder) {
    return [dialog, name, hostFolder](QDialog&) {
        dialog->SetNameText(name.toStdU16String());
        dialog->SetFolderText(platform::ToWindowsPath(hostFolder.toStdString()));
        dialog->OkButton()->click();
        return dialog->result();
    };
}

std::function<int(QDialog&)> AnswerNotice(NoticeWindow* notice, bool yes, QString* text) {
    return [notice, yes, text](QDialog&) {
        if (text != nullptr) *text = notice->TextBox()->toPlainText();
        (yes ? notice->YesButton() : notice->NoButton())->click();
        return notice->result();
    };
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void createThenSearch() {
        Sandbox sandbox;
        sandbox.Touch("docs/haus.xml", Document("Das Haus am See"));
        sandbox.Touch("docs/sub/baum.xml", Document("Ein Baum vor dem Haus"));
        sandbox.Touch("docs/sub/wald.xml", Document("Nur Wald"));
        sandbox.Touch("Datenbank/Projektearchiv.dat");  // a longer name containing the new one
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);

        QString notice;
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Projekte", sandbox.Path() + "/work/docs"));
        shell.runner.dialogs.push_back(AnswerNotice(windows.notice, true, &notice));
        QTest::mouseClick(main.CreateButton(), Qt::LeftButton);
        QVERIFY(finished.wait(60000));
        QVERIFY2(shell.runner.messages.empty(), qPrintable(shell.runner.MessageTexts().join('|')));
        QVERIFY2(notice.startsWith("Es wurden 3 XML-Dokumente mit einer Gesamtgröße von "),
                 qPrintable(notice));
        QCOMPARE(main.StatusLabel()->text(), QString("Fertig mit der Indizierung."));
        QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Projekte.dat"));
        QCOMPARE(main.List()->count(), 2);
        QCOMPARE(Q(main.List()->RowText(main.List()->SelectedRow())), QString("Projekte"));
        QCOMPARE(Q(main.SelectedDatabaseName()), QString("Projekte"));
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)),
                 QString::number(main.List()->SelectedRow()));
        QVERIFY(main.SearchButton()->isEnabled());
        QVERIFY(main.CloseButton()->isEnabled());
        QCOMPARE(main.CloseButtonCaption(), QString("Schli&eßen"));
        QVERIFY(!main.Flags().running);

        // The search, with the word list loaded in the dialog before it is confirmed.
        int words = 0;
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            windows.search->SuchbegriffeLaden();
            words = windows.search->WordCount();
            windows.search->SetSearchText(u"haus");
            windows.search->OkButton()->click();
            return dialog.result();
        });
        QTest::mouseClick(main.SearchButton(), Qt::LeftButton);
        QVERIFY(finished.wait(60000));
        QVERIFY(words > 0);
        QVERIFY2(shell.runner.messages.empty(), qPrintable(shell.runner.MessageTexts().join('|')));
        QCOMPARE(main.StatusLabel()->text(), QString("Fertig mit Suche."));
        QVERIFY(!main.Flags().searchActive);
        QVERIFY(!shell.opened.isEmpty());
        QCOMPARE(shell.opened.last(), sandbox.Path() + "/work/VT_Ergebnis.htm");
        QFile page(shell.opened.last());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.contains("haus.xml", Qt::CaseInsensitive));
        QVERIFY(html.contains("baum.xml", Qt::CaseInsensitive));
        QVERIFY(!html.contains("wald.xml", Qt::CaseInsensitive));
        QCOMPARE(windows.search->HistoryList()->count(), 1);
        QCOMPARE(main.CloseButtonCaption(), QString("Schli&eßen"));
    }

    void browserThatDoesNotStartIsReportedWithThePage() {
        Sandbox sandbox;
        sandbox.Touch("docs/a.xml", Document("Apfel"));
        TestShell shell;
        shell.openSucceeds = false;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Obst", sandbox.Path() + "/work/docs"));
        shell.runner.dialogs.push_back(AnswerNotice(windows.notice, true, nullptr));
        main.NeuErstellenBtnClick();
        QVERIFY(finished.wait(60000));
        const QString page = sandbox.Path() + "/work/VT_Ergebnis.htm";
        for (std::size_t search = 1; search <= 2; ++search) {
            shell.runner.dialogs.push_back([&](QDialog& dialog) {
                windows.search->SetSearchText(u"apfel");
                windows.search->OkButton()->click();
                return dialog.result();
            });
            main.SuchenBtnClick();
            QVERIFY(finished.wait(60000));
            QTRY_COMPARE(shell.runner.messages.size(), search);  // one message per search
            QCOMPARE(shell.runner.messages.back().text,
                     "Der Browser konnte nicht gestartet werden.\r\nDie Ergebnisseite liegt "
                     "hier:\r\n" +
                         page);
        }
        // A search that opens its page several times reports it once.
        main.OpenResultPage(page);
        QCOMPARE(shell.runner.messages.size(), std::size_t(2));
    }

    void reindexThroughTheWindows() {
        Sandbox sandbox;
        sandbox.Touch("docs/a.xml", Document("Apfel Birne"));
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Obst", sandbox.Path() + "/work/docs"));
        shell.runner.dialogs.push_back(AnswerNotice(windows.notice, true, nullptr));
        main.NeuErstellenBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(main.List()->SelectedRow(), 0);

        // The dialog comes prefilled with the database's name and stored folder.
        sandbox.Touch("docs/b.xml", Document("Kirsche"));
        QString name, folder;
        bool updateAccepted = false;
        shell.runner.dialogs.push_back([&](QDialog&) {
            name = Q(windows.newDatabase->NameText());
            folder = Q(windows.newDatabase->FolderText());
            windows.newDatabase->OkButton()->click();
            updateAccepted = windows.newDatabase->result() == QDialog::Accepted;
            return windows.newDatabase->result();
        });
        QString notice;
        shell.runner.dialogs.push_back(AnswerNotice(windows.notice, true, &notice));
        main.ErneutIndiziereBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(name, QString("Obst"));
        QCOMPARE(
            folder.toUpper(),
            Q(platform::ToWindowsPath((sandbox.Path() + "/work/docs").toStdString())).toUpper());
        QVERIFY(updateAccepted);  // the existing name is accepted in re-index mode
        QVERIFY2(notice.startsWith("Es wurden 2 XML-Dokumente"), qPrintable(notice));
        QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Obst.old"));
        QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Obst.dat"));
        QCOMPARE(main.List()->count(), 1);
        QCOMPARE(main.List()->SelectedRow(), 0);
        QCOMPARE(main.CloseButtonCaption(), QString("Schli&eßen"));
        QVERIFY(!main.Flags().updateRunning && !main.Flags().running);
        QVERIFY2(shell.runner.messages.empty(), qPrintable(shell.runner.MessageTexts().join('|')));
    }

    void reindexWithoutSelection() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Eins.dat");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        main.List()->SelectRow(-1);
        main.ErneutIndiziereBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(shell.runner.MessageTexts(),
                 QStringList{"Sie müssen zuerst eine Datenbank auswählen! Mit linker Maustaste "
                             "anklicken!"});
        QCOMPARE(shell.runner.modalCount, 0);
        QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Eins.dat"));
        QVERIFY(!main.Flags().updateRunning);
    }

    void reindexWithoutSelectionLeavesWindowAsItWas() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Eins.dat");
        sandbox.Touch("Datenbank/Zwei.dat");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        main.SetStatusLine(u"Fertig mit Suche.");
        main.SetProgressLine(u"Dokumente: 3");
        main.List()->SelectRow(-1);
        main.ErneutIndiziereBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(shell.runner.messages.size(), size_t(1));
        QCOMPARE(main.List()->SelectedRow(), -1);  // no row is picked for the user
        QCOMPARE(main.StatusLabel()->text(), QString("Fertig mit Suche."));
        QCOMPARE(main.ProgressLabel()->text(), QString("Dokumente: 3"));
        QCOMPARE(main.CloseButtonCaption(), QString("Schli&eßen"));
    }

    void abandonedCreateKeepsSelection_data() {
        QTest::addColumn<bool>("withDocuments");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no documents in the folder")
            << false << QStringList{"wurden keine XML-Dokumente gefunden!"};
        QTest::newRow("notice answered Nein") << true << QStringList{};
    }
    void abandonedCreateKeepsSelection() {
        QFETCH(bool, withDocuments);
        QFETCH(QStringList, messages);
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Eins.dat");
        sandbox.Touch("Datenbank/Zwei.dat");
        sandbox.Touch(withDocuments ? "docs/a.xml" : "docs/notiz.txt", Document("eins"));
        Sandbox::Store(kSelectedDatabase, u"1");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QCOMPARE(main.List()->SelectedRow(), 1);
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Neu", sandbox.Path() + "/work/docs"));
        if (withDocuments)
            shell.runner.dialogs.push_back(AnswerNotice(windows.notice, false, nullptr));
        main.NeuErstellenBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(int(shell.runner.messages.size()), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY2(shell.runner.messages[size_t(i)].text.endsWith(messages[i]),
                     qPrintable(shell.runner.messages[size_t(i)].text));
        }
        QVERIFY(!QFile::exists(sandbox.Path() + "/work/Datenbank/Neu.dat"));
        QCOMPARE(main.List()->count(), 2);
        QCOMPARE(main.List()->SelectedRow(), 1);
        QCOMPARE(Q(main.SelectedDatabaseName()), QString("Zwei"));
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("1"));
        // The search still finds its database.
        main.SuchenBtnClick();  // the search dialog has no handler: cancelled
        QCOMPARE(int(shell.runner.messages.size()), messages.size());
    }

    void damagedDatabaseEndsTheProgram() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Kaputt.dat", "[Kopf]\r\nName=Kaputt\r\n");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            windows.search->SearchField()->setText("haus");
            windows.search->OkButton()->click();
            return dialog.result();
        });
        main.SuchenBtnClick();
        QVERIFY(finished.wait(30000));
        QCOMPARE(shell.runner.MessageTexts(),
                 QStringList{"Datenbank ist beschädigt! Indizieren Sie die Datenbank noch mal neu. "
                             "Programm wird beendet!"});
        QCOMPARE(shell.runner.messages.front().kind, MessageKind::Warning);
        QCOMPARE(shell.terminated, 1);
    }

    void declinedNoticeChangesNothing() {
        Sandbox sandbox;
        sandbox.Touch("docs/a.xml", Document("eins"));
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Nichts", sandbox.Path() + "/work/docs"));
        shell.runner.dialogs.push_back(AnswerNotice(windows.notice, false, nullptr));
        main.NeuErstellenBtnClick();
        QVERIFY(finished.wait(30000));
        QVERIFY(!QFile::exists(sandbox.Path() + "/work/Datenbank/Nichts.dat"));
        QCOMPARE(main.List()->count(), 0);
        QVERIFY(main.StatusLabel()->text().isEmpty());
    }

    void cancelledDialogStartsNothing() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.main->NeuErstellenBtnClick();  // no handler: the dialog is cancelled
        QCOMPARE(shell.runner.modalCount, 1);
        QVERIFY(!windows.main->CommandBusy());
    }

    void closeButtonCancelsRunningIndexing() {
        Sandbox sandbox;
        for (int i = 0; i < 400; ++i) {
            sandbox.Touch(QString("docs/d%1/f%2.xml").arg(i % 20).arg(i),
                          Document(QString("Wort%1 Text Haus Baum %2").arg(i).arg(i * 7)));
        }
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        indexing::RunOptions options;
        options.chunkSize = 50;
        main.IndexingEngine().SetOptions(options);
        QSignalSpy finished(&main, &MainWindow::CommandFinished);
        shell.runner.dialogs.push_back(
            FillNewDatabase(windows.newDatabase, "Gross", sandbox.Path() + "/work/docs"));
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            windows.notice->YesButton()->click();
            return dialog.result();
        });
        // The close button is pressed as soon as the indexing phase runs.
        bool cancelled = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            // The run's own window state (caption, disabled commands) arrives queued after the
            // flag, so the click waits for it.
            if (main.Flags().running && !cancelled &&
                main.CloseButtonCaption() == QString("&Abbruch") &&
                !main.SearchButton()->isEnabled()) {
                main.BitBtn2Click();
                cancelled = true;
            }
        });
        poll.start(1);
        main.NeuErstellenBtnClick();
        QVERIFY(finished.wait(60000));
        QVERIFY(cancelled);
        // The cancel came before the run's final text, so the run ends with its usual text and
        // keeps the data of the passes done.
        QCOMPARE(main.StatusLabel()->text(), QString("Fertig mit der Indizierung."));
        QVERIFY(main.SearchButton()->isEnabled());
        QVERIFY(main.CloseButton()->isEnabled());
        QVERIFY(main.isVisible());
        QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Gross.dat"));
    }
};

static RegisterTest<EndToEndTest> registerEndToEndTest;

}  // namespace vx::shell::test

#include "end_to_end_test.moc"
