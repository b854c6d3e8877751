// What the window reads again when another program changes the database folder: the database
// list, and the search dialog's word list (at once when the dialog is shown, keeping the user's
// filter, else when it is shown next).
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/search_dialog.h"
#include "test_registry.h"
#include "test_support.h"

namespace vx::shell::test {

class DiskChangesTest : public QObject {
    Q_OBJECT

  private slots:
    void listAndWordListFollowTheDatabaseFolder() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Akten.dat");
        sandbox.Touch("Datenbank/Akten_ansi.txt", "HAUS\r\n");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        SearchDialog& search = *windows.search;
        main.List()->SelectRow(0);
        main.ListBox1Click();
        search.SuchbegriffeLaden();
        QCOMPARE(search.WordCount(), 1);

        // As a run puts its files in place: written beside, then renamed over.
        const QString database = sandbox.Path() + "/work/Datenbank/";
        const auto replaceWords = [&](const QByteArray& words) {
            sandbox.Touch("Datenbank/neu.tmp", words);
            QCOMPARE(std::rename(QFile::encodeName(database + "neu.tmp").constData(),
                                 QFile::encodeName(database + "Akten_ansi.txt").constData()),
                     0);
        };
        replaceWords("BAUM\r\nHAUS\r\n");
        sandbox.Touch("Datenbank/Briefe.dat");
        QTRY_COMPARE(main.List()->count(), 2);
        QCOMPARE(main.SelectedDatabaseName(), u"Akten");
        QCOMPARE(search.WordCount(), 1);  // hidden: read as it is shown
        search.show();
        QCOMPARE(search.WordCount(), 2);

        search.FilterField()->setText("Z");
        replaceWords("BAUM\r\nHAUS\r\nZELT\r\n");
        QTRY_COMPARE(search.WordCount(), 3);
        QCOMPARE(search.FilterField()->text(), QString("Z"));
        search.hide();
    }
};

static RegisterTest<DiskChangesTest> registerDiskChangesTest;

}  // namespace vx::shell::test

#include "disk_changes_test.moc"
