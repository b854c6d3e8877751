// Colour texts, progress texts, database row names and the word-list note.
#include <QTest>

#include "platform/text.h"
#include "shell/colour_text.h"
#include "shell/database_rows.h"
#include "shell/qt_text.h"
#include "shell/status_texts.h"
#include "shell/word_list_texts.h"
#include "test_registry.h"

namespace vx::shell::test {
namespace {

std::u16string U(const QString& s) {
    return s.toStdU16String();
}

}  // namespace

class TextsTest : public QObject {
    Q_OBJECT

  private slots:
    void colourToText_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("white") << 0x00FFFFFFu << "clWhite";
        QTest::newRow("black") << 0x00000000u << "clBlack";
        QTest::newRow("orange 255,128,0") << uint(FromRgb(255, 128, 0)) << "$000080FF";
        QTest::newRow("default purple") << 0x00400080u << "$00400080";
        QTest::newRow("none") << 0x1FFFFFFFu << "clNone";
        QTest::newRow("first system colour") << 0x80000000u << "clScrollBar";
        QTest::newRow("button face") << 0x8000000Fu << "clBtnFace";
        QTest::newRow("last system colour") << 0x80000018u << "clInfoBk";
        QTest::newRow("beyond the system colours") << 0x80000019u << "$80000019";
    }
    void colourToText() {
        QFETCH(uint, colour);
        QFETCH(QString, text);
        QCOMPARE(Q(ColourToText(colour)), text);
    }

    void textToColour_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("colour");
        QTest::newRow("clWhite") << "clWhite" << true << 0x00FFFFFFu;
        QTest::newRow("ClBlack") << "ClBlack" << true << 0u;
        QTest::newRow("CLBLACK") << "CLBLACK" << true << 0u;
        QTest::newRow("hex purple") << "$00400080" << true << 0x00400080u;
        QTest::newRow("hex lower case") << "$00ff00ff" << true << 0x00FF00FFu;
        QTest::newRow("decimal") << "255" << true << 255u;
        QTest::newRow("system by name") << "clinfobk" << true << 0x80000018u;
        QTest::newRow("word") << "lila" << false << 0u;
        QTest::newRow("dollar alone") << "$" << false << 0u;
        QTest::newRow("too many digits") << "$123456789" << false << 0u;
        QTest::newRow("empty") << "" << false << 0u;
    }
    void textToColour() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(uint, colour);
        const std::optional<Colour> parsed = TextToColour(U(text));
        QCOMPARE(parsed.has_value(), valid);
        if (valid) QCOMPARE(uint(*parsed), colour);
    }

    void everyNameRoundTrips() {
        // Every named and system colour reads back from its own text.
        std::vector<Colour> values{0x1FFFFFFF};
        for (Colour c = 0x80000000; c <= 0x80000018; ++c) values.push_back(c);
        for (int r : {0, 0x80, 0xC0, 0xFF}) {
            for (int g : {0, 0x80, 0xFF}) values.push_back(FromRgb(r, g, 0x40));
        }
        for (Colour c : values) {
            const std::optional<Colour> back = TextToColour(ColourToText(c));
            QVERIFY2(back.has_value(), qPrintable(Q(ColourToText(c))));
            QCOMPARE(uint(*back), uint(c));
        }
    }

    void darkenSevenPercent_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<uint>("darker");
        QTest::newRow("default purple") << 0x00400080u << 0x003B0077u;
        QTest::newRow("white") << 0x00FFFFFFu << 0x00EDEDEDu;
        QTest::newRow("black") << 0u << 0u;
        QTest::newRow("window system colour (white)") << 0x80000005u << 0x00EDEDEDu;
    }
    void darkenSevenPercent() {
        QFETCH(uint, colour);
        QFETCH(uint, darker);
        QCOMPARE(uint(DarkenSevenPercent(colour)), darker);
    }

    void patienceCycle() {
        const QStringList expected{"°", "° °", "° ° °", "° ° ° °", "° ° ° ° °", "", "°", "° °"};
        int counter = 0;
        for (const QString& text : expected) {
            const PatienceStep step = PatienceTick(counter);
            QCOMPARE(Q(step.text), text);
            counter = step.counter;
        }
    }

    void firstPaintRow_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::newRow("3 of three rows") << "3" << 3 << 0;
        QTest::newRow("-1 with rows") << "-1" << 3 << 0;
        QTest::newRow("last row") << "2" << 3 << 2;
        QTest::newRow("empty text") << "" << 2 << 0;
        QTest::newRow("far out") << "17" << 3 << 0;
        QTest::newRow("not a number") << "zwei" << 3 << 0;
        QTest::newRow("empty list") << "1" << 0 << -1;
    }
    void firstPaintRow() {
        QFETCH(QString, stored);
        QFETCH(int, rows);
        QFETCH(int, row);
        QCOMPARE(FirstPaintRow(U(stored), rows), row);
    }

    void linkedEntriesNote_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("note");
        QTest::newRow("example") << QStringList{"Start",
                                                "Heute 12:00.    1.234 Wörter in "
                                                "Datenbank aufgenommen."}
                                 << "1.234 Einträge verlinkt.";
        QTest::newRow("last line wins")
            << QStringList{"a.    12.345 Wörter in Datenbank aufgenommen.",
                           "b.    99.999 Wörter in Datenbank aufgenommen."}
            << "99.999 Einträge verlinkt.";
        QTest::newRow("short count")
            << QStringList{"b.    7 Wörter in Datenbank aufgenommen."} << "7 Einträge verlinkt.";
        QTest::newRow("two digits")
            << QStringList{"b.    51 Wörter in Datenbank aufgenommen."} << "51 Einträge verlinkt.";
        QTest::newRow("long count keeps every digit and the blank")
            << QStringList{"x.    12.345.678 Wörter in Datenbank aufgenommen."}
            << "12.345.678 Einträge verlinkt.";
        QTest::newRow("no gap") << QStringList{"1.234 Wörter in Datenbank aufgenommen."} << "";
        QTest::newRow("other line") << QStringList{"Heute.    1.234 Dateien"} << "";
    }
    void linkedEntriesNote() {
        QFETCH(QStringList, lines);
        QFETCH(QString, note);
        std::vector<std::u16string> logLines;
        for (const QString& line : lines) logLines.push_back(U(line));
        const auto result = LinkedEntriesNote(logLines);
        QCOMPARE(result ? Q(*result) : QString(), note);
    }

    void firstLineStartingWith() {
        const std::vector<std::u16string> words{u"APFEL", u"BAUM", u"BAUMHAUS", u"ÄRGER"};
        QCOMPARE(FirstLineStartingWith(words, u"baum"), 1);
        QCOMPARE(FirstLineStartingWith(words, u"a"), 0);
        QCOMPARE(FirstLineStartingWith(words, u"är"), 3);
        QCOMPARE(FirstLineStartingWith(words, u"zebra"), -1);
        QCOMPARE(FirstLineStartingWith(words, u""), -1);
    }
};

static RegisterTest<TextsTest> registerTextsTest;

}  // namespace vx::shell::test

#include "texts_test.moc"
