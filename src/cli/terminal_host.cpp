#include "cli/terminal_host.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>

#include "indexing/close_button.h"
#include "indexing/size_text.h"
#include "platform/text.h"

namespace vx::cli {

namespace {

std::atomic<bool> g_interruptPending{false};
std::atomic<RunFlags*> g_flags{nullptr};

extern "C" void OnInterrupt(int) {
    RunFlags* flags = g_flags.load();
    if (flags && !g_interruptPending && RunSwitch(*flags).Indexing()) {
        g_interruptPending = true;
        return;
    }
    signal(SIGINT, SIG_DFL);
    raise(SIGINT);
}

// Message texts use CR LF between lines; the terminal takes LF.
std::string TerminalText(std::u16string_view text) {
    std::string out;
    for (char c : platform::ToUtf8(text)) {
        if (c != '\r') out += c;
    }
    return out;
}

int TerminalColumns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// Cuts a UTF-8 text to a number of characters, keeping its end (the file name).
std::string KeepEnd(const std::string& text, std::size_t characters) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (count <= characters) return text;
    std::size_t skip = count - characters + 3;
    std::size_t i = 0;
    while (i < text.size() && skip > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        --skip;
    }
    return "..." + text.substr(i);
}

}  // namespace

std::string DisplayPath(std::u16string_view windowsPath) {
    std::u16string path(windowsPath);
    if (path.size() >= 2 && (path[0] == u'Z' || path[0] == u'z') && path[1] == u':') {
        path.erase(0, 2);
        for (auto& c : path) {
            if (c == u'\\') c = u'/';
        }
        if (path.empty()) path = u"/";
    }
    return platform::ToUtf8(path);
}

TerminalHost::TerminalHost(bool assumeYes)
    : assumeYes_(assumeYes), progressOnTerminal_(isatty(STDERR_FILENO)) {}

TerminalHost::~TerminalHost() {
    if (g_flags.load() == flags_) g_flags = nullptr;
}

void TerminalHost::HandleInterrupts(RunFlags& flags) {
    flags_ = &flags;
    g_flags = &flags;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void TerminalHost::SetStatusLine(const std::u16string& text) {
    std::lock_guard lock(mutex_);
    status_ = text;
}
void TerminalHost::SetTotalsLine(const std::u16string& text) {
    std::lock_guard lock(mutex_);
    totals_ = text;
}
std::u16string TerminalHost::Locked(const std::u16string& text) const {
    std::lock_guard lock(mutex_);
    return text;
}

void TerminalHost::ClearProgress() {
    if (progressShown_) {
        std::cerr << "\r\033[K" << std::flush;
        progressShown_ = false;
    }
}

void TerminalHost::DrawProgress(bool force) {
    if (!progressOnTerminal_ || !haveProgress_) return;
    const int64_t now = SteadyTickMs();
    if (!force && now - lastDraw_ < 100) return;
    lastDraw_ = now;
    std::string line = std::to_string(last_.documents) + " von " +
                       std::to_string(last_.foundDocuments) + " Dokumenten  " +
                       (last_.reused > 0 ? std::to_string(last_.reused) + " übernommen  " : "") +
                       std::to_string(last_.bytes / 1024 / 1024) + " MB  " +
                       platform::ToUtf8(indexing::ElapsedSince(last_.startTickMs, now)) + "  ";
    const int columns = TerminalColumns();
    const int room = columns - 1 - static_cast<int>(line.size());
    if (room > 8) line += KeepEnd(DisplayPath(last_.path), static_cast<std::size_t>(room));
    std::cerr << "\r\033[K" << line << std::flush;
    progressShown_ = true;
}

void TerminalHost::HandlePendingInterrupt() {
    if (!g_interruptPending.exchange(false) || !flags_) return;
    interrupted_ = true;
    indexing::CloseButtonClick(*this, *flags_);
    ClearProgress();
    std::cerr << TerminalText(Locked(status_)) << std::endl;
}

void TerminalHost::Pause() {
    HandlePendingInterrupt();
    DrawProgress(false);
}

void TerminalHost::DocumentIndexed(const RunProgress& progress) {
    last_ = progress;
    haveProgress_ = true;
}

void TerminalHost::RunLogLine(const std::u16string& line) {
    if (platform::Trim(line).empty()) return;
    ClearProgress();
    std::cerr << TerminalText(line) << std::endl;
}

namespace {

bool IsYes(std::string answer) {
    answer = platform::ToUtf8(platform::Trim(platform::FromUtf8(answer)));
    for (auto& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "j" || answer == "ja";
}

}  // namespace

bool TerminalHost::Ask(const std::string& question) {
    std::cerr << question << " [j/n] " << std::flush;
    if (assumeYes_) {
        std::cerr << "j" << std::endl;
        return true;
    }
    std::string answer;
    const bool read = static_cast<bool>(std::getline(std::cin, answer));
    // An answer from a pipe or file is shown, so the output reads like a dialogue.
    if (!isatty(STDIN_FILENO)) std::cerr << (read ? answer : std::string()) << std::endl;
    return read && IsYes(answer);
}

std::string MessageLine(MessageKind kind, std::u16string_view text) {
    const char* prefix = "";
    switch (kind) {
        case MessageKind::Information:
            prefix = "Information: ";
            break;
        case MessageKind::Warning:
            prefix = "Warnung: ";
            break;
        case MessageKind::Error:
            prefix = "Fehler: ";
            break;
        case MessageKind::Confirmation:
            prefix = "Bestätigung: ";
            break;
        case MessageKind::Plain:
            break;
    }
    return prefix + TerminalText(text);
}

MessageAnswer TerminalHost::ShowMessage(MessageKind kind, const std::u16string&,
                                        const std::u16string& text, MessageButtons buttons) {
    ClearProgress();
    if (buttons == MessageButtons::YesNo) {
        return Ask(MessageLine(kind, text)) ? MessageAnswer::Yes : MessageAnswer::No;
    }
    std::cerr << MessageLine(kind, text) << std::endl;
    return MessageAnswer::Ok;
}

bool TerminalHost::ConfirmIndexing(int documentCount, const std::u16string& sizeText) {
    ClearProgress();
    return Ask("Information: " + TerminalText(NoticeText(documentCount, sizeText)));
}

void TerminalHost::FinishRun() {
    ClearProgress();
    // A Ctrl-C after the run's last pause (while it put its files in place) stopped nothing.
    if (g_interruptPending.exchange(false)) {
        interrupted_ = true;
        std::cerr << "Strg-C kam erst nach dem Speichern; die Datenbank ist vollständig.\n";
    }
    const std::u16string status = Locked(status_);
    const std::u16string totals = Locked(totals_);
    if (!status.empty()) std::cout << TerminalText(status) << '\n';
    if (!totals.empty()) std::cout << TerminalText(totals) << '\n';
    std::cout << std::flush;
}

}  // namespace vx::cli
