// vantor-xml-cli watch [NAME...]: keeps databases current while their documents change.
#include <limits>

#include "cli/command_registry.h"
#include "cli/stop_signals.h"
#include "cli/watch_loop.h"
#include "platform/text.h"
#include "platform/working_folders.h"

namespace vx::cli {
namespace {

int RunWatch(const Arguments& args) {
    WatchSettings settings;
    for (const std::string& name : args.Positional()) {
        settings.names.push_back(platform::FromUtf8(name));
    }
    settings.run.parseThreads = args.Number("--threads", -1);
    settings.intervalSeconds = args.Number("--interval", settings.intervalSeconds);
    settings.maxWatches = static_cast<std::size_t>(args.Number("--max-watches", 0));
    const StopSignals stop;
    return RunWatcher(platform::WorkingFolders::FromEnvironment(), settings, stop);
}

const RegisterCliCommand kRegister({
    {"watch",
     "[NAME...]",
     "Hält die Datenbanken NAME aktuell, solange der Befehl läuft; ohne NAME alle Datenbanken\n"
     "des aktuellen Verzeichnisses, auch die später angelegten. Der Ordner jeder Datenbank wird "
     "mit\n"
     "inotify beobachtet; haben sich Dokumente geändert und ist der Ordner etwa eine Sekunde\n"
     "ruhig geblieben (höchstens zehn Sekunden nach der ersten Änderung), wird die Datenbank neu\n"
     "indiziert, wobei unveränderte Dokumente übernommen werden. Jede Aktualisierung meldet\n"
     "eine Zeile: was sich geändert hat und wie lange sie gedauert hat. Beim Start wird jede\n"
     "Datenbank einmal neu indiziert; so wird nachgeholt, was sich inzwischen geändert hat.\n"
     "Zwischen zwei Änderungen arbeitet er nicht und schreibt nichts.\n"
     "Indiziert gerade ein anderes Programm die Datenbank, wartet die Aktualisierung darauf.\n"
     "Wo inotify nicht jeden Ordner beobachten kann (etwa weil die Grenze\n"
     "fs.inotify.max_user_watches erreicht ist), wird der Ordnerbaum in Abständen durchsucht.\n"
     "Strg-C (SIGINT) oder SIGTERM beendet ihn; während einer Aktualisierung wird zuvor\n"
     "gespeichert, was bis dahin indiziert war, ein zweites Signal beendet sofort.\n"
     "Als Dienst, der die Datenbanken in ~/Vantor-XML aktuell hält:\n"
     "  systemctl --user enable --now vantor-xml-watch\n",
     {
         {"--threads", "", "N",
          "Threads, die Dokumente vorab lesen (0: keine; Vorgabe: nach Prozessoren)", 0, 256},
         {"--interval", "", "N", "Sekunden zwischen zwei Durchsuchungen ohne inotify (Vorgabe 30)",
          1, 86400},
         {"--max-watches", "", "N",
          "höchstens N Ordner je Datenbank mit inotify beobachten (Vorgabe: alle)", 1},
     },
     0,
     std::numeric_limits<std::size_t>::max(),
     "Rückgabewert: 0 nach SIGTERM, 130 nach Strg-C, 2 Fehler (etwa eine unbekannte Datenbank).\n"},
    RunWatch,
    true,
});

}  // namespace
}  // namespace vx::cli
