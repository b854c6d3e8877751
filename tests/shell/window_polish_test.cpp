// What makes the windows usable on a Linux desktop: visible check marks in every colour
// setting, disabled buttons that look disabled, fonts with Arial's metrics so no text is cut,
// Enter in the notice window, Linux paths in the folder field, Qt's dialogs in German, and the
// manual placed in the working folder.
#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "platform/paths.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "shell/qt_translations.h"
#include "shell/search_dialog.h"
#include "shell/settings_dialog.h"
#include "shell/shell_environment.h"
#include "shell/ui_fonts.h"
#include "shell/widget_colours.h"
#include "test_registry.h"
#include "test_support.h"

namespace vx::shell::test {
namespace {

std::vector<QCheckBox*> CheckBoxes(const AppWindows& windows) {
    return {windows.settings->ClipboardCheckBox(), windows.search->UndBox(),
            windows.search->OderBox(), windows.search->PhraseBox()};
}

// How far apart two colours are in lightness (0 to 255).
int Contrast(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class WindowPolishTest : public QObject {
    Q_OBJECT

  private slots:
    void checkMarksVisibleInEveryNoticeColour_data() {
        QTest::addColumn<QColor>("notice");
        QTest::newRow("white") << QColor(Qt::white);
        QTest::newRow("black") << QColor(Qt::black);
        QTest::newRow("light grey") << QColor(0xEE, 0xEE, 0xEE);
    }
    void checkMarksVisibleInEveryNoticeColour() {
        QFETCH(QColor, notice);
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.main->ApplyNoticeColour(FromQColor(notice));
        for (QCheckBox* box : CheckBoxes(windows)) {
            const QPalette p = box->palette();
            QCOMPARE(p.color(QPalette::WindowText), notice);  // the text takes the colour
            // The mark is drawn in the text colour on the field's base colour.
            QVERIFY2(Contrast(p.color(QPalette::Text), p.color(QPalette::Base)) > 100,
                     qPrintable(box->text()));
        }
    }

    void disabledButtonsLookDisabled() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        MainWindow& main = *windows.main;
        main.SetCommandsEnabled(false);
        main.SetCloseButton(QStringLiteral("&Abbruch"), false);
        for (QPushButton* button :
             {main.SearchButton(), main.CreateButton(), main.ReindexButton(), main.CloseButton()}) {
            QVERIFY(!button->isEnabled());
            const QPalette p = button->palette();
            QVERIFY2(p.color(QPalette::Active, QPalette::ButtonText) == QColor(Qt::black),
                     qPrintable(button->text()));
            QVERIFY2(Contrast(p.color(QPalette::Disabled, QPalette::ButtonText), Qt::black) > 60,
                     qPrintable(button->text()));
        }
    }

    void fontsWithArialMetricsLeaveNoTextCut() {
        QVERIFY2(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")),
                 "fonts-liberation2 is not installed (scripts/install-deps)");
        QCOMPARE(QFontInfo(ArialUnicodeFont(15, true)).family(), QString("Liberation Sans"));
        QCOMPARE(QFontInfo(MsSansSerifFont(16, true)).family(), QString("Liberation Sans"));
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        windows.search->show();  // lays its controls out
        for (QCheckBox* box : CheckBoxes(windows)) {
            QVERIFY2(box->sizeHint().width() <= box->width(),
                     qPrintable(QStringLiteral("%1: %2 > %3")
                                    .arg(box->text())
                                    .arg(box->sizeHint().width())
                                    .arg(box->width())));
        }
        QPushButton* ansi = windows.search->AnsiWordsButton();
        QPushButton* unicode = windows.search->UnicodeWordsButton();
        QCOMPARE(ansi->font().pixelSize(), unicode->font().pixelSize());
        for (QPushButton* button : {ansi, unicode}) {
            QVERIFY2(button->sizeHint().width() <= button->width(),
                     qPrintable(QStringLiteral("%1: %2 > %3")
                                    .arg(button->text())
                                    .arg(button->sizeHint().width())
                                    .arg(button->width())));
        }
    }

    void enterInNoticeWindowPressesYes() {
        Sandbox sandbox;
        TestShell shell;
        AppWindows windows = shell.Start();
        NoticeWindow& notice = *windows.notice;
        bool answered = false;
        shell.runner.dialogs.push_back([&](QDialog& dialog) {
            dialog.show();
            const QString before = notice.TextBox()->toPlainText();
            notice.TextBox()->setFocus();
            QTest::keyClick(notice.TextBox(), Qt::Key_Return);
            answered = notice.TextBox()->toPlainText() == before;  // no line added
            return dialog.result();
        });
        QVERIFY(notice.Ask(3, u"12 MB"));
        QVERIFY(answered);
    }

    void folderFieldTakesLinuxPaths_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("path") << "%1";
        QTest::newRow("trailing slash") << "%1/";
        QTest::newRow("file URL") << "file://%1";
    }
    void folderFieldTakesLinuxPaths() {
        QFETCH(QString, typed);
        Sandbox sandbox;
        sandbox.Touch("akten/2024/a.xml");
        const QString folder = sandbox.Path() + "/work/akten/2024";
        TestShell shell;
        AppWindows windows = shell.Start();
        NewDatabaseDialog& dialog = *windows.newDatabase;
        dialog.SetNameText(u"Akten");
        dialog.FolderField()->setText(typed.arg(folder));
        QCOMPARE(QString::fromStdU16String(dialog.FolderText()),
                 QString::fromStdU16String(platform::ToWindowsPath(folder.toStdString())));
        dialog.OkButtonClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(shell.runner.messages.empty());
    }

    void colourPickerSpeaksGerman() {
        QVERIFY2(InstallGermanQtTranslations(*QCoreApplication::instance()),
                 "qt6-translations-l10n is not installed (scripts/install-deps)");
        QCOMPARE(QColorDialog::tr("&Basic colors"), QString("Grundfar&ben"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
    }

    void builtManualIsFound() {
        // The test program lies in the build folder like the window program.
        const QString manual = InstalledManual();
        QVERIFY2(!manual.isEmpty(), "Vantor_XML.pdf was not built");
        const QByteArray pdf = ReadAll(manual);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") >= 10);
    }

    void manualPlacedAndOpened_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QByteArray>("present");  // the working folder's own copy, if any
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QByteArray>("opened");  // what the viewer gets; empty: nothing
        QTest::addColumn<QString>("message");
        QTest::newRow("placed at start")
            << true << QByteArray() << true << QByteArray("installed") << QString();
        QTest::newRow("own copy kept")
            << true << QByteArray("own") << true << QByteArray("own") << QString();
        QTest::newRow("none anywhere") << false << QByteArray() << true << QByteArray()
                                       << "Das Handbuch \"Vantor_XML.pdf\" wurde nicht gefunden.";
        QTest::newRow("no viewer") << true << QByteArray() << false << QByteArray("installed")
                                   << "Das Handbuch kann nicht angezeigt werden";
    }
    void manualPlacedAndOpened() {
        QFETCH(bool, installed);
        QFETCH(QByteArray, present);
        QFETCH(bool, opens);
        QFETCH(QByteArray, opened);
        QFETCH(QString, message);
        Sandbox sandbox;
        if (installed) sandbox.Touch("../share/Vantor_XML.pdf", "installed");
        if (!present.isEmpty()) sandbox.Touch("Vantor_XML.pdf", present);
        TestShell shell;
        if (installed) shell.manualFile = sandbox.Path() + "/share/Vantor_XML.pdf";
        shell.openSucceeds = opens;
        AppWindows windows = shell.Start();
        const QString inWorkingFolder = sandbox.Path() + "/work/Vantor_XML.pdf";
        QCOMPARE(QFile::exists(inWorkingFolder), installed || !present.isEmpty());
        windows.main->SpeedButton1Click();
        QCOMPARE(shell.opened, opened.isEmpty() ? QStringList() : QStringList{inWorkingFolder});
        if (!opened.isEmpty()) QCOMPARE(ReadAll(inWorkingFolder), opened);
        if (message.isEmpty()) {
            QVERIFY(shell.runner.messages.empty());
        } else {
            QCOMPARE(shell.runner.messages.size(), size_t(1));
            const QString text = shell.runner.messages.front().text;
            QVERIFY2(text.startsWith(message), qPrintable(text));
            QVERIFY2(text.contains(sandbox.Path() + "/work"), qPrintable(text));  // where it is
        }
    }
};

static RegisterTest<WindowPolishTest> registerWindowPolishTest;

}  // namespace vx::shell::test

#include "window_polish_test.moc"
