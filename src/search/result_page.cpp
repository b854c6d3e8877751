#include "search/result_page.h"

#include <algorithm>

#include "index/database_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "search/html_text.h"
#include "textio/text_file.h"

namespace vx::search {

using platform::IntText;

std::u16string HeadingLine(Heading heading) {
    switch (heading) {
        case Heading::SingleWord:
            return u"Der Suchbegriff: <font color=\"#cc0000\"><u>";
        case Heading::Oder:
            return u"Die ODER-verknüpften Suchbegriffe: <font color=\"#cc0000\"><u>";
        case Heading::Und:
            return u"Die UND-verknüpften Suchbegriffe: <font color=\"#cc0000\"><u>";
        case Heading::None:
            break;
    }
    return u"<font color=\"#cc0000\"><u>";
}

std::u16string SearchTextLine(std::u16string_view displayText) {
    return HtmlEscape(displayText) + u"</u><font color=\"#000000\" ><br>";
}

std::u16string CountLine(int count, bool singular) {
    return (singular ? u"wurde in " : u"wurden in ") + IntText(count) + u" Datei(en) gefunden:";
}

std::u16string IntermediateCountLine(int count) {
    return u"wurde bisher in " + IntText(count) + u" Datei(en) gefunden. Suche geht weiter...";
}

std::u16string LimitCountLine(int count) {
    return u"wurde in " + IntText(count) +
           u" Datei(en) gefunden. Eingestellte Anzahl maximale Ergebnisse anzeigen erreicht. "
           u"<br>Suche wurde abgebrochen!";
}

std::u16string FinalCountLine(int count, std::u16string_view databaseName) {
    return u"wurde in " + IntText(count) + (count < 2 ? u" Datei" : u" Datei(en)") +
           u" gefunden. Datenbankname: \"" + index::DatabaseFileOfRow(databaseName) + u"\"";
}

int CountPathLines(const std::vector<std::u16string>& pageLines, bool skipRepeats) {
    int count = 0;
    const std::u16string* previous = nullptr;
    for (std::size_t i = kPageHeadLines; i < pageLines.size(); ++i) {
        const std::u16string& line = pageLines[i];
        // Its first ":\" at position 2 (counted from 1).
        if (line.size() < 3 || line[1] != u':' || line[2] != u'\\') continue;
        if (!skipRepeats || previous == nullptr || line.find(*previous) == std::u16string::npos) {
            ++count;
        }
        previous = &line;
    }
    return count;
}

std::u16string ResolveLinkTarget(std::u16string_view path, std::u16string_view workingFolder) {
    std::u16string p(path);
    if (platform::FileExists(p)) return p;
    if (!p.empty() && !workingFolder.empty()) p[0] = workingFolder[0];
    if (platform::FileExists(p)) return p;
    return std::u16string(workingFolder) + std::u16string(platform::NameOf(p));
}

namespace {

bool IsAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Position of the drive letter of the first ":\" that stands in the page's text: a letter outside
// the page's own markup (tags), so that a link never cuts into a tag. npos when there is none.
std::size_t DriveLetterInText(std::u16string_view line) {
    bool inTag = false;
    for (std::size_t i = 0; i + 2 < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == u'<') inTag = true;
        if (c == u'>') inTag = false;
        if (!inTag && IsAsciiLetter(c) && line[i + 1] == u':' && line[i + 2] == u'\\') return i;
    }
    return std::u16string_view::npos;
}

}  // namespace

const std::string& LinkTargets::HostPathOf(std::u16string_view path) {
    const auto [entry, added] = known_.try_emplace(std::u16string(path));
    if (!added) return entry->second;
    // Most often the file is there: its path on disk, found once, names it as written.
    auto noted = resolved_.extract(entry->first);
    std::string host = noted ? std::move(noted.mapped()) : platform::ToHostPath(path);
    if (!host.empty() && platform::FileExists(platform::ToWindowsPath(host))) {
        entry->second = std::move(host);
        return entry->second;
    }
    const std::u16string target = ResolveLinkTarget(path, workingFolder_);
    entry->second = platform::ToHostPath(target);
    if (entry->second.empty()) entry->second = platform::ToUtf8(target);
    return entry->second;
}

std::u16string RewriteLinkLine(std::u16string_view line, LinkTargets& links) {
    const std::size_t letter = DriveLetterInText(line);
    if (letter == std::u16string_view::npos) return std::u16string(line);
    // The path runs to the end of the line or to the page's next markup, which stays after the
    // link (text holds no "<": it is escaped).
    const std::size_t end = std::min(line.find(u'<', letter), line.size());
    // Page lines are HTML; the file tests need the text the path was escaped from.
    const std::string& hostPath = links.HostPathOf(HtmlUnescape(line.substr(letter, end - letter)));
    std::u16string out(line.substr(0, letter));
    out += u"<a href=\"";
    out += platform::FromUtf8(FileUrl(hostPath));
    out += u"\" target=\"_blank\">";
    AppendHtmlEscaped(out, platform::FromUtf8(hostPath));
    out += u"</a>";
    out += line.substr(end);
    return out;
}

std::u16string RewriteLinkLine(std::u16string_view line, std::u16string_view workingFolder) {
    LinkTargets links(workingFolder);
    return RewriteLinkLine(line, links);
}

std::vector<std::u16string> BuildResultPage(const std::vector<std::u16string>& pageLines,
                                            std::u16string_view workingFolder) {
    LinkTargets links(workingFolder);
    return BuildResultPage(pageLines, links);
}

namespace {

constexpr std::u16string_view kPageHead[] = {
    u"<html>",
    u"<Head>",
    u"<Title> Vantor-XML Suchergebnis </Title>",
    u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">",
    u"</Head>",
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for its length
    u"<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" Vlink=\"#999999\" "
    u"Alink=\"#999999\" > <font face=\"verdana, arial, helvetica\">",
};
constexpr std::u16string_view kPageTail[] = {u"</font>", u"</body>", u"</html>"};

// Calls line(text) for every line of the whole file, one after the other. Each page line is
// trimmed and split at its line breaks (as the joined page lines would be split: every break ends
// a line), and a line naming a file gets its link.
template <typename Line>
void ForEachResultPageLine(const std::vector<std::u16string>& pageLines, LinkTargets& links,
                           Line line) {
    for (const std::u16string_view head : kPageHead) line(head);
    for (const std::u16string& pageLine : pageLines) {
        // Trimmed, it ends in no line break: its last piece is a line too, however short.
        std::u16string_view rest = platform::TrimView(pageLine);
        for (;;) {
            const std::size_t end = std::min(rest.find_first_of(u"\r\n"), rest.size());
            const std::u16string_view piece = rest.substr(0, end);
            if (piece.find(u":\\") != std::u16string_view::npos) {
                line(RewriteLinkLine(piece, links));
            } else {
                line(piece);
            }
            if (end == rest.size()) break;
            const bool pair = rest[end] == u'\r' && end + 1 < rest.size() && rest[end + 1] == u'\n';
            rest.remove_prefix(end + (pair ? 2 : 1));
        }
    }
    for (const std::u16string_view tail : kPageTail) line(tail);
}

}  // namespace

std::vector<std::u16string> BuildResultPage(const std::vector<std::u16string>& pageLines,
                                            LinkTargets& links) {
    std::vector<std::u16string> page;
    ForEachResultPageLine(pageLines, links,
                          [&page](std::u16string_view line) { page.emplace_back(line); });
    return page;
}

void SchreibHTMLDoc(const std::vector<std::u16string>& pageLines, std::u16string_view workingFolder,
                    RunDisplay* host, std::u16string_view pageFolder) {
    LinkTargets links(workingFolder);
    SchreibHTMLDoc(pageLines, links, host, pageFolder);
}

void SchreibHTMLDoc(const std::vector<std::u16string>& pageLines, LinkTargets& links,
                    RunDisplay* host, std::u16string_view pageFolder) {
    if (pageFolder.empty()) pageFolder = links.WorkingFolder();
    // Written as it is built, a few pages of memory at a time: a page of many hits is large.
    constexpr std::size_t kPageFlushUnits = 8192;
    textio::TextWriter writer(std::u16string(pageFolder) + kResultFileName, kPageFlushUnits);
    ForEachResultPageLine(pageLines, links, [&writer](std::u16string_view line) {
        writer.Write(line);
        writer.Write(u"\r\n");
    });
    writer.Close();
    if (host != nullptr) StarteInternetBrowser(*host, pageFolder);
}

void StarteInternetBrowser(RunDisplay& host, std::u16string_view pageFolder) {
    host.OpenInBrowser(std::u16string(pageFolder) + u"vt_ergebnis.htm");
}

}  // namespace vx::search
