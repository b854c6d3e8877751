// vantor-xml-cli search NAME TEXT...: the search run of the window program, for scripts.
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_registry.h"
#include "cli/database_row.h"
#include "cli/json_text.h"
#include "cli/terminal_host.h"
#include "indexing/database_names.h"
#include "platform/desktop_open.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/working_folders.h"
#include "search/history.h"
#include "search/query.h"
#include "search/result_page.h"
#include "search/search_run.h"

namespace vx::cli {
namespace {

using platform::FromUtf8;
using platform::ToUtf8;

// The terminal host, which also opens the result page (only asked to with --open) and keeps
// whether that failed.
class SearchTerminalHost : public TerminalHost {
  public:
    SearchTerminalHost() : TerminalHost(true) {}
    void OpenInBrowser(const std::u16string& windowsPath) override {
        if (!platform::OpenWithDesktop(platform::ToHostPath(windowsPath))) openFailed = true;
    }
    bool openFailed = false;
};

// The search mode options: at most one of them.
constexpr const char* kModes[] = {"--and", "--or", "--phrase", "--none"};

search::SearchOptions ModeOf(const Arguments& args, std::string& mode) {
    search::SearchOptions options;
    mode = "or";
    if (args.Has("--and")) {
        options.und = true;
        options.oder = false;
        mode = "and";
    } else if (args.Has("--phrase")) {
        options.phrase = options.und = true;
        options.oder = false;
        mode = "phrase";
    } else if (args.Has("--none")) {
        options.und = options.oder = false;
        mode = "none";
    }
    return options;
}

int Refuse(const std::string& message) {
    std::cerr << "vantor-xml-cli search: " << message << '\n';
    return kExitError;
}

void PrintJson(const search::SearchResult& result, const std::string& database,
               const std::u16string& query, const std::string& mode, int limit) {
    std::string out = "{\"database\":" + JsonString(database) +
                      ",\"query\":" + JsonString(ToUtf8(query)) + ",\"mode\":" + JsonString(mode) +
                      ",\"limit\":" + std::to_string(limit) +
                      ",\"count\":" + std::to_string(result.hitPaths.size());
    if (mode == "phrase") out += ",\"allWords\":" + std::to_string(result.allWordsDocuments);
    out += std::string(",\"limitReached\":") + (result.limitReached ? "true" : "false") +
           ",\"hits\":[";
    for (std::size_t i = 0; i < result.hitPaths.size(); ++i) {
        if (i > 0) out += ',';
        out += "{\"path\":" + JsonString(result.hitPaths[i]) + ",\"context\":[";
        const auto& lines = result.hitContexts[i];
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (k > 0) out += ',';
            out += JsonString(ToUtf8(lines[k]));
        }
        out += "]}";
    }
    std::cout << out << "]}\n";
}

int RunSearch(const Arguments& args) {
    int modes = 0;
    for (const char* mode : kModes) modes += args.Has(mode);
    if (modes > 1) return Refuse("Nur eine der Optionen --and, --or, --phrase, --none");
    const bool pathsOnly = args.Has("--paths") || args.Has("--null");
    if (pathsOnly && args.Has("--json")) return Refuse("--json und --paths/-0 schließen sich aus");

    const std::u16string name = FromUtf8(args.Positional()[0]);
    std::string mode;
    search::SearchOptions options = ModeOf(args, mode);
    options.resultLimit = args.Number("--limit", 50);
    std::u16string text;
    for (std::size_t i = 1; i < args.Positional().size(); ++i) {
        if (!text.empty()) text += u' ';
        text += FromUtf8(args.Positional()[i]);
    }

    SearchTerminalHost host;
    auto inform = [&](const std::u16string& message) {
        host.Tell(MessageKind::Information, message);
    };
    const platform::WorkingFolders folders = platform::WorkingFolders::FromEnvironment();
    const std::vector<std::u16string> rows = indexing::ListDatabaseRowsUnsorted(folders);
    if (rows.empty()) {
        inform(u"Es existiert noch keine Datenbank! ");
        return kExitError;
    }
    // The list sorts by the collation of the upper-cased names, stably: rows that equal NAME with
    // letter case ignored keep the order of the listing among themselves, so the row named is
    // found without sorting (which loads the collation).
    const std::u16string* row = DatabaseRowNamed(rows, name);
    if (row == nullptr) {
        inform(u"Die Datenbank \"" + name + u"\" existiert nicht!");
        return kExitError;
    }

    search::ConfirmResult check = search::ConfirmCheck(text, options.phrase, false);
    for (const std::u16string& message : check.messages) inform(message);
    if (!check.accepted) return kExitError;
    if (check.empty) return Refuse("Sie haben keinen Suchtext eingegeben!");

    RunFlags flags;
    host.HandleInterrupts(flags);
    search::SearchHistory history;
    history.Load(folders.working + search::kHistoryFileName);
    search::SearchRun run(host, flags, folders, history);
    run.SetOpenPages(false);
    if (args.Has("--scan")) run.SetScanMode(search::ScanMode::Scan);
    search::SearchResult result;
    try {
        result = run.Run(check.fieldText, options, *row);
    } catch (const std::exception& e) {
        std::cerr << "Fehler: " << e.what() << '\n';
        return kExitError;
    }
    if (result.outcome == search::SearchOutcome::DamagedDatabase) {
        host.ShowMessage(MessageKind::Warning, search::kDamagedDatabaseCaption,
                         search::kDamagedDatabaseMessage, MessageButtons::Ok);
        return kExitError;
    }
    if (args.Has("--json")) {
        PrintJson(result, ToUtf8(*row), check.fieldText, mode, options.resultLimit);
    } else if (pathsOnly) {
        const char end = args.Has("--null") ? '\0' : '\n';
        for (const std::string& path : result.hitPaths) std::cout << path << end;
    } else {
        std::cout << ToUtf8(result.countLine) << '\n';
        for (const std::string& path : result.hitPaths) std::cout << path << '\n';
    }
    std::cout << std::flush;
    if (args.Has("--open") && !result.pagePath.empty()) {
        // The page's own folder: the scratch folder when the working folder takes no files.
        const std::u16string pageFolder = result.pagePath.substr(
            0,
            result.pagePath.size() - std::char_traits<char16_t>::length(search::kResultFileName));
        search::StarteInternetBrowser(host, pageFolder);
        if (host.openFailed) {
            std::cerr << "Fehler: Der Browser konnte nicht gestartet werden. Die Ergebnisseite "
                         "liegt hier: "
                      << platform::ToHostPath(result.pagePath) << '\n';
            return kExitError;
        }
    }
    if (result.outcome == search::SearchOutcome::Cancelled) return kExitInterrupted;
    return result.hitPaths.empty() ? kExitNoHits : kExitOk;
}

const RegisterCliCommand kRegister({
    {"search",
     "NAME SUCHTEXT...",
     "Sucht in der Datenbank NAME und schreibt die Ergebnisseite VT_Ergebnis.htm ins aktuelle\n"
     "Verzeichnis. Ausgabe: die Zeile mit der Anzahl, dann die Dokumente (Linux-Pfade) der\n"
     "Treffer, eines je Zeile.\n"
     "  Suchtext: bis zu fünf Wörter; Groß-/Kleinschreibung zählt nicht. Ein \"*\" oder \"?\" vor\n"
     "  oder hinter einem Wort steht für beliebige Zeichen: haus* findet Haus und Hausboot,\n"
     "  *haus findet Gartenhaus. Ein Suchtext, der mit \"-\" beginnt, steht hinter \"--\".\n"
     "  Suchart: ODER (Vorgabe) findet Dokumente mit mindestens einem der Wörter, --and nur\n"
     "  solche mit allen. Ein einzelnes Wort wird immer für sich gesucht.\n"
     "  Phrase: --phrase findet Dokumente, die alle Wörter enthalten und den Suchtext genau so\n"
     "  auf einer Zeile ihres Textes haben (Zeilen: der Text zwischen zwei Tags, an\n"
     "  Zeilenumbrüchen geteilt), mit den Leerzeichen wie eingegeben; Anfang und Ende dürfen in\n"
     "  längeren Wörtern stehen (\"vor dem haus\" auch in \"zuvor dem Hausboot\"). Platzhalter\n"
     "  werden entfernt. Die Ergebnisseite und die Zeile mit der Anzahl nennen auch die\n"
     "  Dokumente mit allen Wörtern ohne die Phrase (\"Kein Kontext enthalten!\"); ausgegeben\n"
     "  werden nur die mit der Phrase.\n"
     "  Grenze: nach --limit Dokumenten (1 bis 50, Vorgabe 50; bei --phrase Dokumenten mit\n"
     "  allen Wörtern) endet die Suche.\n",
     {
         {"--and", "", "", "Dokumente mit allen Wörtern (UND)"},
         {"--or", "", "", "Dokumente mit mindestens einem der Wörter (ODER, Vorgabe)"},
         {"--phrase", "", "", "Dokumente mit dem Suchtext genau so auf einer Zeile (Phrase)"},
         {"--none", "", "", "weder UND noch ODER (findet nur bei einem einzelnen Wort etwas)"},
         {"--limit", "", "N", "höchstens N Dokumente (1 bis 50, Vorgabe 50)", 1, 50},
         {"--open", "", "", "die Ergebnisseite im Browser öffnen"},
         {"--paths", "", "", "nur die Pfade der Treffer ausgeben, einen je Zeile"},
         {"--null", "-0", "", "nur die Pfade, jeder mit einem NUL-Zeichen beendet (für xargs -0)"},
         {"--json", "", "",
          "ein JSON-Objekt: database, query, mode, limit, count, allWords (nur --phrase), "
          "limitReached, hits"},
         {"--scan", "", "",
          "die Datenbankdatei ohne ihren Suchindex lesen und keinen schreiben (für Vergleiche)"},
     },
     2,
     SIZE_MAX,
     "Rückgabewert: 0 Treffer gefunden, 1 keine Treffer, 2 Fehler oder Ablehnung (Option,\n"
     "Suchtext, fehlende oder beschädigte Datenbank, Ergebnisseite nicht geschrieben oder nicht\n"
     "geöffnet), 130 mit Strg-C abgebrochen.\n"},
    RunSearch,
});

}  // namespace
}  // namespace vx::cli
