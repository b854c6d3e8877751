// The page lines of the result page and the file "VT_Ergebnis.htm" written from them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/host.h"

namespace vx::search {

inline constexpr char16_t kResultFileName[] = u"VT_Ergebnis.htm";
inline constexpr std::size_t kCountLineIndex = 2;
inline constexpr std::size_t kPageHeadLines = 5;  // heading, search text, count, blank, separator
inline constexpr char16_t kSeparatorLine[] =
    u"<br>----------------------------------------------------------------------------------------"
    u"----<br>";

enum class Heading { SingleWord, Oder, Und, None };

// Page line 0. Heading::None (no collection ran) opens the red search text without a label.
std::u16string HeadingLine(Heading heading);
// Page line 1: the display text (escaped) and the switch back to the text colour.
std::u16string SearchTextLine(std::u16string_view displayText);
// "wurde in N Datei(en) gefunden:" (singular) or "wurden in ...".
std::u16string CountLine(int count, bool singular);
std::u16string IntermediateCountLine(int count);
std::u16string LimitCountLine(int count);
// The database name is put in as given (callers escape it for the page).
std::u16string FinalCountLine(int count, std::u16string_view databaseName);

// Lines after the page head whose ":\" stands at position 2. With skipRepeats, a path line that
// contains the path line before it is not counted again.
int CountPathLines(const std::vector<std::u16string>& pageLines, bool skipRepeats);

// Where a link on the page leads (Windows form): the path itself when a file exists there, else
// the same path on the working folder's drive, else the working folder + the file name.
std::u16string ResolveLinkTarget(std::u16string_view path, std::u16string_view workingFolder);

// The host paths the links of a page lead to (ResolveLinkTarget), each path looked up once for
// all the writes of the page during one search.
class LinkTargets {
  public:
    explicit LinkTargets(std::u16string_view workingFolder) : workingFolder_(workingFolder) {}
    const std::u16string& WorkingFolder() const { return workingFolder_; }
    const std::string& HostPathOf(std::u16string_view path);
    // What platform::ToHostPath has just given for path, which HostPathOf then takes instead of
    // resolving the path again.
    void NoteHostPath(std::u16string_view path, std::string hostPath) {
        resolved_.insert_or_assign(std::u16string(path), std::move(hostPath));
    }

  private:
    std::u16string workingFolder_;
    std::unordered_map<std::u16string, std::string> known_;
    std::unordered_map<std::u16string, std::string> resolved_;
};

// A trimmed page line holding ":\" with everything from its drive letter on replaced by a link
// to the file it names.
std::u16string RewriteLinkLine(std::u16string_view line, LinkTargets& links);
std::u16string RewriteLinkLine(std::u16string_view line, std::u16string_view workingFolder);

// The whole file as lines: head, the trimmed page lines with links, tail.
std::vector<std::u16string> BuildResultPage(const std::vector<std::u16string>& pageLines,
                                            LinkTargets& links);
std::vector<std::u16string> BuildResultPage(const std::vector<std::u16string>& pageLines,
                                            std::u16string_view workingFolder);

// Writes pageFolder (the working folder when empty) + "VT_Ergebnis.htm" (UTF-8, CR LF) and, with
// a host, opens it. Links are resolved against the working folder. Throws textio::FileError when
// the file cannot be written.
void SchreibHTMLDoc(const std::vector<std::u16string>& pageLines, LinkTargets& links,
                    RunDisplay* host, std::u16string_view pageFolder = {});
void SchreibHTMLDoc(const std::vector<std::u16string>& pageLines, std::u16string_view workingFolder,
                    RunDisplay* host, std::u16string_view pageFolder = {});
// Asks the host to open the result page of the folder in the browser.
void StarteInternetBrowser(RunDisplay& host, std::u16string_view pageFolder);

}  // namespace vx::search
