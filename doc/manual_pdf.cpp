// Lays out the manual (Markdown) as a PDF: a title page, the contents with page numbers, then
// the text with every chapter (a first-level heading) on a new page and the page number at the
// foot of every page. The first line of the text ("# Title") is the title.
// Usage: vx_manual_pdf <manual.md> <output.pdf> [title picture]
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <cstdio>
#include <vector>

#ifndef VX_VERSION
#define VX_VERSION "0"
#endif

namespace {

constexpr int kDpi = 300;
constexpr double kMm = kDpi / 25.4;  // page lengths and margins are in the writer's pixels
// Picture sizes and tab stops are given in pixels of 96 dpi; the layout scales them.
constexpr double kFormatUnit = 96.0 / kDpi;
// A4 with 20 mm margins; the page number stands in the bottom margin.
const QRectF kBody(20 * kMm, 18 * kMm, 170 * kMm, 256 * kMm);
const QColor kAccent(0x80, 0x00, 0x40);  // the background colour of the program's windows
// Marks a block that holds only a picture.
constexpr int kPictureBlock = QTextFormat::UserProperty + 1;

const QStringList kSans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                           QStringLiteral("DejaVu Sans")};
const QStringList kMono = {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};

QFont SansFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies(kSans);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

struct Heading {
    int level = 0;
    QString text;
    int page = 0;  // counted within the text, from 1
};

// A document laid out on pages of the body's size, in the writer's pixels.
void PrepareDocument(QTextDocument& document, QPdfWriter& writer) {
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(SansFont(10.5));
    document.setDocumentMargin(0);
    document.setPageSize(kBody.size());
}

void StyleHeadings(QTextDocument& document) {
    bool firstChapter = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0) continue;
        QTextBlockFormat format = block.blockFormat();
        QTextCharFormat chars;
        if (level == 1) {
            if (!firstChapter) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            firstChapter = false;
            format.setTopMargin(0);
            format.setBottomMargin(6 * kMm);
            chars.setFont(SansFont(20, true));
            chars.setForeground(kAccent);
        } else {
            format.setTopMargin((level == 2 ? 7 : 4) * kMm);
            format.setBottomMargin(2 * kMm);
            chars.setFont(SansFont(level == 2 ? 14 : 11.5, true));
        }
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_Auto);
        QTextCursor cursor(block);
        cursor.setBlockFormat(format);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(chars);
    }
}

// Paragraph spacing, code in a fixed font on grey, pictures scaled to the page and centred.
void StyleBody(QTextDocument& document, const QString& pictureFolder) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const bool code = format.hasProperty(QTextFormat::BlockCodeFence) ||
                          format.hasProperty(QTextFormat::BlockCodeLanguage);
        const bool inTable = QTextCursor(block).currentTable() != nullptr;
        if (format.headingLevel() == 0) {
            format.setTopMargin(0);
            format.setBottomMargin(inTable || code ? 0 : block.textList() ? 1 * kMm : 2.5 * kMm);
            format.setLineHeight(code || inTable ? 100 : 115, QTextBlockFormat::ProportionalHeight);
        }
        if (code) {
            // Every line of a code block is a block: the space goes before the first and
            // after the last.
            auto isCode = [](const QTextBlock& b) {
                return b.isValid() && (b.blockFormat().hasProperty(QTextFormat::BlockCodeFence) ||
                                       b.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage));
            };
            format.setBackground(QColor(0xF0, 0xEE, 0xF0));
            format.setLeftMargin(4 * kMm);
            format.setTopMargin(isCode(block.previous()) ? 0 : 1 * kMm);
            format.setBottomMargin(isCode(block.next()) ? 0 : 3 * kMm);
        }
        // The new formats are set after the walk: setting one changes the fragments.
        struct Edit {
            int position, length;
            QTextCharFormat format;
        };
        std::vector<Edit> edits;
        bool onlyPicture = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat chars = fragment.charFormat();
            if (chars.isImageFormat()) {
                QTextImageFormat picture = chars.toImageFormat();
                const QString file = pictureFolder + QLatin1Char('/') + picture.name();
                const QImage image(file);
                if (image.isNull()) {
                    std::fprintf(stderr, "picture missing: %s\n", qPrintable(file));
                    continue;
                }
                // A window picture of 1024 pixels is 150 mm wide; nothing wider than the page.
                const double width = std::min(kBody.width(), image.width() * (150 * kMm / 1024.0));
                picture.setWidth(width * kFormatUnit);
                picture.setHeight(width * kFormatUnit * image.height() / image.width());
                picture.setName(QUrl::fromLocalFile(file).toString());
                document.addResource(QTextDocument::ImageResource, QUrl(picture.name()), image);
                edits.push_back({fragment.position(), fragment.length(), picture});
                continue;
            }
            if (!fragment.text().trimmed().isEmpty()) onlyPicture = false;
            if (chars.fontFixedPitch() || code) {
                chars.setFontFamilies(kMono);
                chars.setFontPointSize(9.5);
                if (!code) chars.setBackground(QColor(0xF0, 0xEE, 0xF0));
                edits.push_back({fragment.position(), fragment.length(), chars});
            }
        }
        for (const Edit& edit : edits) {
            QTextCursor cursor(&document);
            cursor.setPosition(edit.position);
            cursor.setPosition(edit.position + edit.length, QTextCursor::KeepAnchor);
            cursor.setCharFormat(edit.format);
        }
        if (onlyPicture && block.length() > 1) {
            format.setProperty(kPictureBlock, true);
            format.setAlignment(Qt::AlignHCenter);
            format.setTopMargin(2 * kMm);
            format.setBottomMargin(4 * kMm);
        }
        QTextCursor(block).setBlockFormat(format);
    }
    // Tables with thin lines, the full width of the page.
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.25 * kMm);
        format.setBorderBrush(QColor(0x99, 0x99, 0x99));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(1 * kMm);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(1 * kMm);
        format.setBottomMargin(4 * kMm);
        table->setFormat(format);
    }
}

// The layout neither keeps a heading with what follows it nor moves a picture that does not
// fit to the next page: a picture that would cross a page's end, and a heading whose next line
// would not end on its page, begin a new page. Block by block, with the layout redone after
// each change.
void Paginate(QTextDocument& document) {
    const double pageHeight = document.pageSize().height();
    auto firstLine = [&](const QTextBlock& block) {
        const QTextLayout* layout = block.layout();
        const QRectF r = document.documentLayout()->blockBoundingRect(block);
        if (layout->lineCount() == 0) return r;
        const QTextLine line = layout->lineAt(0);
        return QRectF(r.left(), layout->position().y() + line.y(), r.width(), line.height());
    };
    auto page = [&](double y) { return static_cast<int>(y / pageHeight); };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        document.pageCount();  // lays the document out up to its end
        QTextBlockFormat format = block.blockFormat();
        const QRectF line = firstLine(block);
        bool newPage = false;
        if (format.boolProperty(kPictureBlock)) {
            newPage = page(line.top()) != page(line.bottom() - 1);
        } else if (format.headingLevel() > 0 && block.next().isValid()) {
            newPage = page(line.top()) != page(firstLine(block.next()).bottom() - 1);
        }
        if (!newPage || page(line.top()) * pageHeight == line.top()) continue;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

std::vector<Heading> Headings(const QTextDocument& document) {
    std::vector<Heading> headings;
    const double pageHeight = document.pageSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2) continue;
        const QRectF r = document.documentLayout()->blockBoundingRect(block);
        headings.push_back({level, block.text(), static_cast<int>(r.top() / pageHeight) + 1});
    }
    return headings;
}

// The contents: chapters in bold, sections indented, page numbers at the right edge.
void BuildContents(QTextDocument& contents, const std::vector<Heading>& headings, int offset) {
    QTextCursor cursor(&contents);
    QTextBlockFormat title;
    title.setBottomMargin(8 * kMm);
    QTextCharFormat titleChars;
    titleChars.setFont(SansFont(20, true));
    titleChars.setForeground(kAccent);
    cursor.setBlockFormat(title);
    cursor.insertText(QStringLiteral("Inhalt"), titleChars);
    for (const Heading& heading : headings) {
        QTextBlockFormat line;
        const double indent = heading.level == 1 ? 0 : 6 * kMm;
        line.setLeftMargin(indent);
        line.setTopMargin(heading.level == 1 ? 3 * kMm : 0.6 * kMm);
        // Just inside the right edge (a stop on the edge wraps the number); counted from the
        // indented start of the line.
        line.setTabPositions({QTextOption::Tab((kBody.width() - indent - 1 * kMm) * kFormatUnit,
                                               QTextOption::RightTab)});
        QTextCharFormat chars;
        chars.setFont(SansFont(heading.level == 1 ? 11.5 : 10.5, heading.level == 1));
        cursor.insertBlock(line, chars);
        cursor.insertText(heading.text + QLatin1Char('\t') + QString::number(heading.page + offset),
                          chars);
    }
}

void DrawPages(QPainter& painter, QPdfWriter& writer, const QTextDocument& document,
               int& pageNumber) {
    const double pageHeight = document.pageSize().height();
    for (int page = 0; page < document.pageCount(); ++page) {
        writer.newPage();
        ++pageNumber;
        painter.save();
        painter.translate(kBody.left(), kBody.top() - page * pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * pageHeight, kBody.width(), pageHeight);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(SansFont(9));
        painter.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF foot(kBody.left(), kBody.bottom() + 6 * kMm, kBody.width(), 8 * kMm);
        painter.drawText(foot, Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("Vantor-XML – Handbuch – Seite %1").arg(pageNumber));
    }
}

void DrawTitlePage(QPainter& painter, const QString& title, const QString& picture) {
    const QRectF page(0, 0, 210 * kMm, 297 * kMm);
    painter.fillRect(QRectF(0, 0, page.width(), 95 * kMm), kAccent);
    painter.setPen(Qt::white);
    painter.setFont(SansFont(30, true));
    painter.drawText(QRectF(kBody.left(), 40 * kMm, kBody.width(), 20 * kMm), Qt::AlignLeft, title);
    painter.setFont(SansFont(14));
    painter.drawText(QRectF(kBody.left(), 60 * kMm, kBody.width(), 12 * kMm), Qt::AlignLeft,
                     QStringLiteral("Die lokale Suchmaschine für XML-Dokumente"));
    const QImage image(picture);
    if (!image.isNull()) {
        painter.drawImage(QRectF(kBody.left(), 120 * kMm, 60 * kMm, 60 * kMm), image);
    }
    painter.setPen(QColor(0x33, 0x33, 0x33));
    painter.setFont(SansFont(11));
    painter.drawText(QRectF(kBody.left(), 250 * kMm, kBody.width(), 10 * kMm), Qt::AlignLeft,
                     QStringLiteral("Version " VX_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a platform; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vx_manual_pdf <manual.md> <output.pdf> [title picture]\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QString text = QString::fromUtf8(source.readAll());
    QString title = QStringLiteral("Vantor-XML");
    if (text.startsWith(QStringLiteral("# "))) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        title = text.mid(2, end - 2).trimmed();
        text.remove(0, end + 1);
    }

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vantor-XML " VX_VERSION));

    QTextDocument content;
    PrepareDocument(content, writer);
    content.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    StyleHeadings(content);
    StyleBody(content, QFileInfo(input).absolutePath());
    Paginate(content);
    const std::vector<Heading> headings = Headings(content);

    // The contents come after the title page; their own length sets the first text page.
    QTextDocument contents;
    PrepareDocument(contents, writer);
    BuildContents(contents, headings, 0);
    const int offset = 1 + contents.pageCount();
    contents.clear();
    BuildContents(contents, headings, offset);

    QPainter painter(&writer);
    DrawTitlePage(painter, title, argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    int pageNumber = 1;
    DrawPages(painter, writer, contents, pageNumber);
    DrawPages(painter, writer, content, pageNumber);
    painter.end();
    std::fprintf(stderr, "%s: %d pages\n", argv[2], pageNumber);
    return 0;
}
