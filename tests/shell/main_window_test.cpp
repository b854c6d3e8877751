// Start-up, the database list, the resize rules, the progress display and the close/cancel
// button of the main window.
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "platform/host.h"
#include "shell/database_list_box.h"
#include "shell/main_window.h"
#include "shell/qt_host.h"
#include "shell/qt_text.h"
#include "shell/search_dialog.h"
#include "shell/settings_store.h"
#include "test_registry.h"
#include "test_support.h"

namespace vx::shell::test {
namespace {

QStringList Rows(const DatabaseListBox& list) {
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) rows << Q(list.RowText(i));
    return rows;
}

QPoint CentredPosition(QSize size) {
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    return {s.width() / 2 - size.width() / 2, s.height() / 2 - size.height() / 2};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartWritesDefaults() {
        Sandbox sandbox;
        TestShell shell;
        {
            AppWindows windows = shell.Start();
            QCOMPARE(windows.main->size(), QSize(1024, 535));
            QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00400080"));
            QCOMPARE(Q(Sandbox::Stored(kNoticeColour)), QString("clWhite"));
            QCOMPARE(Q(Sandbox::Stored(kSearchHeight)), QString("535"));
            QCOMPARE(Q(Sandbox::Stored(kSearchWidth)), QString("1024"));
            QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("-1"));
            QCOMPARE(windows.main->List()->count(), 0);
            QCOMPARE(windows.main->List()->SelectedRow(), -1);
            // The data folders exist under the working folder, without any message.
            QVERIFY(QFile::exists(sandbox.Path() + "/work/Datenbank/Temp"));
            QVERIFY(QFile::exists(sandbox.Path() + "/work/XML_Texte"));
            QVERIFY(shell.runner.messages.empty());
            QCOMPARE(windows.main->CloseButtonCaption(), QString("Schli&eßen"));
            QVERIFY(!windows.main->CurrentFileField()->isVisible());
        }
        // Shutdown with an empty list stores -1 and the sizes.
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("-1"));
        QCOMPARE(Q(Sandbox::Stored(kHeight)), QString("535"));
        QCOMPARE(Q(Sandbox::Stored(kWidth)), QString("1024"));
    }

    void missingSelectionRewritesAllDefaults() {
        Sandbox sandbox;
        Sandbox::Store(kBackgroundColour, u"clGreen");
        Sandbox::Store(kWidth, u"900");
        TestShell shell;
        AppWindows windows = shell.Start();
        QCOMPARE(Q(Sandbox::Stored(kBackgroundColour)), QString("$00400080"));
        QCOMPARE(windows.main->width(), 1024);
    }

    void storedColoursAndSizesApply() {
        Sandbox sandbox;
        Sandbox::Store(kSelectedDatabase, u"0");
        Sandbox::Store(kBackgroundColour, u"clTeal");
        Sandbox::Store(kNoticeColour, u"$000080FF");
        Sandbox::Store(kHeight, u"600");
        Sandbox::Store(kWidth, u"800");
        TestShell shell;
        AppWindows windows = shell.Start();
        QCOMPARE(windows.main->size(), QSize(800, 600));
        QCOMPARE(windows.main->palette().color(QPalette::Window), QColor(0, 128, 128));
        QVERIFY(windows.main->LogoTransparent());
        QCOMPARE(windows.main->StatusLabel()->palette().color(QPalette::WindowText),
                 QColor(255, 128, 0));
        QCOMPARE(windows.search->palette().color(QPalette::Window), QColor(0, 128, 128));
    }

    void absentHeightGivesMinimum() {
        Sandbox sandbox;
        Sandbox::Store(kSelectedDatabase, u"0");
        TestShell shell;
        AppWindows windows = shell.Start();
        QCOMPARE(windows.main->height(), 535);  // 534 requested
    }

    void listRowsSortedIgnoringCase() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/b.DAT");
        sandbox.Touch("Datenbank/A.dat");
        sandbox.Touch("Datenbank/c.DAT");
        sandbox.Touch("Datenbank/Alt.DATEN.DAT");
        sandbox.Touch("Datenbank/c_ansi.txt");
        TestShell shell;
        AppWindows windows = shell.Start();
        QCOMPARE(Rows(*windows.main->List()), (QStringList{"A", "AltEN.DAT", "b", "c"}));
    }

    void storedSelection_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("selected");
        QTest::newRow("3 of three rows") << "3" << 3 << 0;
        QTest::newRow("-1 with rows") << "-1" << 3 << 0;
        QTest::newRow("row 2") << "2" << 3 << 2;
        QTest::newRow("empty list") << "1" << 0 << -1;
    }
    void storedSelection() {
        QFETCH(QString, stored);
        QFETCH(int, files);
        QFETCH(int, selected);
        Sandbox sandbox;
        for (int i = 0; i < files; ++i) sandbox.Touch(QString("Datenbank/db%1.dat").arg(i));
        Sandbox::Store(kSelectedDatabase, stored.toStdU16String());
        TestShell shell;
        {
            AppWindows windows = shell.Start();
            QCOMPARE(windows.main->List()->SelectedRow(), selected);
            QCOMPARE(windows.main->SelectedIndex(), std::max(selected, 0));
            QCOMPARE(windows.main->SearchedIndex(), std::max(selected, 0));
            QCOMPARE(Q(windows.main->SelectedDatabaseName()),
                     selected >= 0 ? QString("db%1").arg(selected) : QString());
            // First paint writes nothing.
            QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), stored);
        }
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)),
                 files == 0 ? QString("-1") : QString::number(selected));
    }

    void clickStoresSelectionAndRunsHoldIt() {
        Sandbox sandbox;
        for (const char* name : {"a", "b", "c"})
            sandbox.Touch(QString("Datenbank/%1.DAT").arg(name));
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        main.List()->SelectRow(2);
        main.ListBox1Click();
        QCOMPARE(main.SelectedIndex(), 2);
        QCOMPARE(Q(main.SelectedDatabaseName()), QString("c"));
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("2"));

        main.SetSearchedIndex(1);
        for (auto flag : {&RunFlags::running, &RunFlags::updateRunning, &RunFlags::searchActive}) {
            (main.Flags().*flag) = true;
            main.List()->SelectRow(0);
            main.ListBox1Click();
            QCOMPARE(main.List()->SelectedRow(), 1);
            QCOMPARE(main.SelectedIndex(), 2);
            QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("2"));
            (main.Flags().*flag) = false;
        }
    }

    void createdDatabaseIsSelectedNotLongerName() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Recht.dat");
        sandbox.Touch("Datenbank/Rechtsprechung.dat");
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.main->LiesNamenDatenbanken(false, u"recht");
        QCOMPARE(windows.main->List()->SelectedRow(), 0);
        QCOMPARE(Q(windows.main->SelectedDatabaseName()), QString("Recht"));
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), QString("0"));
    }

    void updateModeSelectsStoredRowOnly() {
        Sandbox sandbox;
        for (const char* name : {"a", "b", "c"})
            sandbox.Touch(QString("Datenbank/%1.DAT").arg(name));
        Sandbox::Store(kSelectedDatabase, u"1");
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.main->List()->SelectRow(2);
        windows.main->LiesNamenDatenbanken(true, u"c");
        QCOMPARE(windows.main->List()->SelectedRow(), 1);
        QCOMPARE(windows.main->SelectedIndex(), 1);  // no click action
        Sandbox::Store(kSelectedDatabase, u"7");
        windows.main->LiesNamenDatenbanken(true, {});
        QCOMPARE(windows.main->List()->SelectedRow(), -1);
    }

    void rowIconTakesRowBackground() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/eins.DAT");
        sandbox.Touch("Datenbank/zwei.DAT");
        TestShell shell;
        AppWindows windows = shell.Start();
        DatabaseListBox* list = windows.main->List();
        list->SelectRow(0);
        QCOMPARE(list->visualItemRect(list->item(0)).height(), 23);
        const QImage image = list->viewport()->grab().toImage();
        const QRect selectedRow = list->visualItemRect(list->item(0));
        const QRect otherRow = list->visualItemRect(list->item(1));
        // The icon's corner pixel is pure red: it shows the highlight 0x003B0077 (R 0x77, B 0x3B)
        // on the selected row and the list's white on the other row.
        const qreal ratio = image.devicePixelRatio();
        auto pixel = [&](QPoint p) { return QColor(image.pixel((QPointF(p) * ratio).toPoint())); };
        QCOMPARE(pixel(selectedRow.topLeft() + QPoint(1, 1)), QColor(0x77, 0x00, 0x3B));
        QCOMPARE(pixel(otherRow.topLeft() + QPoint(1, 1)), QColor(Qt::white));
        QCOMPARE(pixel(selectedRow.topLeft() + QPoint(list->Icon().width() + 2, 1)),
                 QColor(0x77, 0x00, 0x3B));
    }

    void shutdownStoresSelection_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("row");  // the row selected at shutdown, -1 for none
        QTest::addColumn<QString>("stored");
        QTest::newRow("second row") << 3 << 1 << "1";
        QTest::newRow("rows but none selected") << 3 << -1 << "0";
        QTest::newRow("empty list") << 0 << -1 << "-1";
    }
    void shutdownStoresSelection() {
        QFETCH(int, files);
        QFETCH(int, row);
        QFETCH(QString, stored);
        Sandbox sandbox;
        for (int i = 0; i < files; ++i) sandbox.Touch(QString("Datenbank/db%1.dat").arg(i));
        Sandbox::Store(kSelectedDatabase, u"2");
        TestShell shell;
        {
            AppWindows windows = shell.Start();
            windows.main->List()->SelectRow(row);
            windows.main->resize(900, 600);
            windows.search->resize(800, 500);
        }
        QCOMPARE(Q(Sandbox::Stored(kSelectedDatabase)), stored);
        QCOMPARE(Q(Sandbox::Stored(kHeight)), QString("600"));
        QCOMPARE(Q(Sandbox::Stored(kWidth)), QString("900"));
        QCOMPARE(Q(Sandbox::Stored(kSearchHeight)), QString("500"));
        QCOMPARE(Q(Sandbox::Stored(kSearchWidth)), QString("800"));
    }

    void resizeRules() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        main.resize(600, 400);
        QCOMPARE(main.size(), QSize(700, 535));
        QTRY_COMPARE(main.pos(), CentredPosition(QSize(700, 535)));
        main.resize(1024, 535);
        QCOMPARE(main.Separator()->width(), 692);
        main.resize(1300, 700);
        QCOMPARE(main.Separator()->width(), 1300 - 3 * 42 - 208 + 2);
        QTRY_COMPARE(main.pos(), CentredPosition(QSize(1300, 700)));
        // The command column follows the right edge, the list stretches.
        const int dx = 1300 - 1008, dy = 700 - 497;  // against the design client area
        QCOMPARE(main.SearchButton()->geometry(), QRect(754 + dx, 186, 221, 40));
        QCOMPARE(main.CloseButton()->geometry(), QRect(754 + dx, 340 + dy, 221, 40));
        QCOMPARE(main.List()->geometry(), QRect(35, 44, 708 + dx, 336 + dy));
        QCOMPARE(main.CurrentFileField()->geometry(), QRect(42, 431 + dy, 926 + dx, 18));
    }

    void patienceIndicatorCycle() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        main.Flags().running = true;
        main.SetPatienceIndicator(true);
        const QStringList expected{"°", "° °", "° ° °", "° ° ° °", "° ° ° ° °", "", "°"};
        for (const QString& text : expected) {
            main.GedultTimerTimer();
            QCOMPARE(main.PatienceLabel()->text(), text);
        }
        const QPushButton* close = main.CloseButton();
        QCOMPARE(main.PatienceLabel()->x(), close->x() + close->width() / 2 - 20);
        QCOMPARE(main.PatienceLabel()->y(), main.StatusLabel()->y() + 2);
        main.SetPatienceIndicator(false);
        QCOMPARE(main.PatienceLabel()->text(), QString());
        main.Flags().running = false;
    }

    void elapsedDisplayRefreshesTotals() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        const int64_t now = SteadyTickMs();
        main.StartElapsedDisplay(now - 3725 * 1000, [] { return std::u16string(u"12 MB"); });
        main.Timer1Timer();
        QCOMPARE(Q(main.Host().TotalsLine()), QString());  // an empty totals line stays empty
        main.SetTotalsLine(u"x");
        main.Timer1Timer();
        QVERIFY2(
            Q(main.Host().TotalsLine()).startsWith("XML-Dateien-Gesamtgröße: 12 MB     Zeit: 1:2:"),
            qPrintable(Q(main.Host().TotalsLine())));
        QCOMPARE(main.TotalsLabel()->text(), Q(main.Host().TotalsLine()));

        // After the stop the engine's size function may be gone: a tick still pending must not
        // call it.
        int calls = 0;
        main.StartElapsedDisplay(now, [&calls] {
            ++calls;
            return std::u16string(u"1 KB");
        });
        const QString totals = Q(main.Host().TotalsLine());
        main.StopElapsedDisplay();
        main.Timer1Timer();
        QCOMPARE(calls, 0);
        QCOMPARE(Q(main.Host().TotalsLine()), totals);
    }

    void closeCancelRules_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("updateRunning");
        QTest::addColumn<bool>("searchActive");
        QTest::addColumn<QString>("statusBefore");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<bool>("chunkFull");
        QTest::addColumn<bool>("closeEnabled");
        QTest::addColumn<bool>("finished");  // an ended run's text stands: the click marks it
        QTest::newRow("indexing") << true << false << false << "Indiziert."
                                  << "Indizierung wurde abgebrochen! Die Daten werden gespeichert"
                                  << false << false << false;
        QTest::newRow("re-index") << false << true << false << ""
                                  << "Aktualisierung wurde abgebrochen! " << true << true << false;
        QTest::newRow("indexing phase of a re-index")
            << true << true << false << ""
            << "Indizierung wurde abgebrochen! Die Daten werden gespeichert" << true << false
            << false;
        QTest::newRow("search") << false << false << true << "Suche läuft."
                                << "Suche läuft." << false << true << false;
        QTest::newRow("search after an indexing")
            << false << false << true << "Fertig mit der Indizierung."
            << "Fertig mit der Indizierung." << false << true << true;
    }
    void closeCancelRules() {
        QFETCH(bool, running);
        QFETCH(bool, updateRunning);
        QFETCH(bool, searchActive);
        QFETCH(QString, statusBefore);
        QFETCH(QString, statusAfter);
        QFETCH(bool, chunkFull);
        QFETCH(bool, closeEnabled);
        QFETCH(bool, finished);
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        RunFlags& flags = main.Flags();
        flags.running = running;
        flags.updateRunning = updateRunning;
        flags.searchActive = searchActive;
        flags.finished = finished;
        main.SetStatusLine(statusBefore.toStdU16String());
        main.SetCommandsEnabled(false);
        main.SetCloseButton(running ? "&Abbruch" : "Schli&eßen", true);
        QTest::mouseClick(main.CloseButton(), Qt::LeftButton);
        QVERIFY(main.isVisible());
        QVERIFY(shell.runner.messages.empty());  // no close confirmation
        QVERIFY(flags.cancel);
        QVERIFY(!flags.running && !flags.updateRunning && !flags.searchActive);
        QCOMPARE(bool(flags.chunkFull), chunkFull);
        QCOMPARE(bool(flags.aborted), finished);
        QCOMPARE(main.StatusLabel()->text(), statusAfter);
        QCOMPARE(main.CloseButton()->isEnabled(), closeEnabled);
        QCOMPARE(main.SearchButton()->isEnabled(), finished);
        if (searchActive) QCOMPARE(main.CloseButtonCaption(), QString("Schli&eßen"));
    }

    void closeAsksForConfirmation() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        shell.runner.answers.push_back(MessageAnswer::No);
        main.BitBtn2Click();
        QVERIFY(main.isVisible());
        QCOMPARE(shell.runner.MessageTexts(), QStringList{"Vantor-XML wirklich schließen?"});
        QCOMPARE(shell.runner.messages.front().kind, MessageKind::Confirmation);
        main.resize(900, 600);
        shell.runner.answers.push_back(MessageAnswer::Yes);
        main.BitBtn2Click();
        QVERIFY(!main.isVisible());
        QCOMPARE(Q(Sandbox::Stored(kWidth)), QString("900"));
        QCOMPARE(Q(Sandbox::Stored(kHeight)), QString("600"));
    }

    void opticalDriveRefusesStart() {
        Sandbox sandbox;
        TestShell shell;
        ShellEnvironment environment = shell.Environment();
        environment.isOpticalDrive = [](const std::string&) { return true; };
        AppWindows windows = CreateAppWindows(environment);
        QVERIFY(windows.main->Refused());
        QCOMPARE(shell.terminated, 1);
        QCOMPARE(shell.runner.messages.size(), size_t(1));
        QVERIFY(shell.runner.messages.front().text.startsWith(
            "Das Indizierungs-Programm Vantor kann nicht von CD/DVD gestartet werden"));
        QVERIFY(!QFile::exists(sandbox.Path() + "/work/Datenbank"));
        QVERIFY(windows.search == nullptr);
    }

    void missingParserIsReported() {
        Sandbox sandbox;
        TestShell shell;
        ShellEnvironment environment = shell.Environment();
        environment.xmlParserAvailable = [] { return false; };
        AppWindows windows = CreateAppWindows(environment);
        windows.main->show();
        QTRY_VERIFY(windows.main->FirstPaintDone());
        QCOMPARE(shell.runner.MessageTexts(),
                 QStringList{"Auf Ihrem System ist leider kein MSXML6 installiert.\r\n"
                             "MSXML6 ist normalerweise bei Windows ab XP SP3 mit dabei!"});
    }

    void searchWithoutDatabase_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("message");
        QTest::newRow("no database") << 0 << "Es existiert noch keine Datenbank! ";
        QTest::newRow("none selected")
            << 2
            << "Markieren Sie eine Datenbank und betätigen Sie dann nochmal den Suchen Schalter!";
    }
    void searchWithoutDatabase() {
        QFETCH(int, files);
        QFETCH(QString, message);
        Sandbox sandbox;
        for (int i = 0; i < files; ++i) sandbox.Touch(QString("Datenbank/d%1.dat").arg(i));
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.main->List()->SelectRow(-1);
        windows.main->SuchenBtnClick();
        QCOMPARE(shell.runner.MessageTexts(), QStringList{message});
        QCOMPARE(shell.runner.modalCount, 0);
        QVERIFY(!windows.main->Flags().searchActive);
    }

    void searchEmptiesWordListOfAnotherDatabase_data() {
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<int>("wordsShown");
        QTest::addColumn<QString>("filterShown");
        QTest::newRow("same database") << 0 << 2 << "A";
        QTest::newRow("another database") << 1 << 0 << "";
    }
    void searchEmptiesWordListOfAnotherDatabase() {
        QFETCH(int, clickedRow);
        QFETCH(int, wordsShown);
        QFETCH(QString, filterShown);
        Sandbox sandbox;
        sandbox.Touch("Datenbank/Eins.dat");
        sandbox.Touch("Datenbank/Eins_ansi.txt", "AAL\r\nBAUM\r\n");
        sandbox.Touch("Datenbank/Zwei.dat");
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        windows.search->SuchbegriffeLaden();
        QCOMPARE(windows.search->WordCount(), 2);
        main.List()->SelectRow(clickedRow);
        main.ListBox1Click();
        int words = -1;
        QString filter, searchText;
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            words = windows.search->WordCount();
            filter = windows.search->FilterField()->text();
            searchText = windows.search->SearchField()->text();
            dialog.reject();
            return int(QDialog::Rejected);
        });
        windows.search->SearchField()->setText("alt");
        main.SuchenBtnClick();
        QCOMPARE(words, wordsShown);
        QCOMPARE(filter, filterShown);
        QCOMPARE(searchText, QString());  // emptied before every showing
        QCOMPARE(main.SearchedIndex(), clickedRow);
        QVERIFY(!main.Flags().searchActive);
    }

    void doubleClickOpensSearchDialog() {
        Sandbox sandbox;
        sandbox.Touch("Datenbank/eins.DAT");
        TestShell shell;
        AppWindows windows = shell.Start();
        bool shown = false;
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            shown = &dialog == windows.search;
            dialog.reject();
            return int(QDialog::Rejected);
        });
        DatabaseListBox* list = windows.main->List();
        const QPoint centre = list->visualItemRect(list->item(0)).center();
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        QVERIFY(shown);
        QVERIFY(!windows.main->Flags().searchActive);
    }
};

static RegisterTest<MainWindowTest> registerMainWindowTest;

}  // namespace vx::shell::test

#include "main_window_test.moc"
