// The largest gap between ticks of a 10 ms timer of the window while the create command indexes
// a folder tree (default: the CLDR corpus) through the window program. The working folder is a
// fresh temporary folder; the dialogs are answered in code.
// Usage: bench_ui_latency [folder] [documents per pass]
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "indexing/commands.h"
#include "platform/paths.h"
#include "shell/app_windows.h"
#include "shell/dialog_runner.h"
#include "shell/main_window.h"
#include "shell/new_database_dialog.h"
#include "shell/notice_window.h"
#include "test_support.h"

namespace {}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir sandbox;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(sandbox.path() + "/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(sandbox.path() + "/data"));
    QDir().mkpath(sandbox.path() + "/work");
    QDir::setCurrent(sandbox.path() + "/work");
    QApplication app(argc, argv);
    const QString corpus = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral("/usr/share/unicode/cldr/common");
    const int chunk = argc > 2 ? std::atoi(argv[2]) : vx::indexing::kDefaultChunkSize;

    vx::shell::test::ScriptedRunner runner;
    runner.echoMessages = true;
    vx::shell::ShellEnvironment environment = vx::shell::DesktopEnvironment(runner);
    environment.openFile = [](const QString&, const std::function<void()>&) {};
    vx::shell::AppWindows windows = vx::shell::CreateAppWindows(environment);
    vx::shell::MainWindow& main = *windows.main;
    vx::indexing::RunOptions options;
    options.chunkSize = std::max(2, chunk);
    main.IndexingEngine().SetOptions(options);
    main.show();
    while (!main.FirstPaintDone()) QApplication::processEvents();

    QElapsedTimer clock;
    std::vector<qint64> gaps;
    qint64 last = -1;
    qint64 largestAt = 0;
    qint64 largestSeen = 0;
    bool measuring = false;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (measuring && last >= 0) {
            gaps.push_back(now - last);
            if (now - last > largestSeen) {
                largestSeen = now - last;
                largestAt = now;
            }
        }
        last = now;
    });

    runner.dialogs.push_back([&](QDialog&) {
        windows.newDatabase->SetNameText(u"CLDR");
        windows.newDatabase->SetFolderText(vx::platform::ToWindowsPath(corpus.toStdString()));
        windows.newDatabase->OkButton()->click();
        return windows.newDatabase->result();
    });
    runner.dialogs.push_back([&](QDialog&) {
        windows.notice->YesButton()->click();
        // Measuring starts when the run is confirmed and the window is back in its loop.
        clock.start();
        last = -1;
        measuring = true;
        ticker.start();
        return windows.notice->result();
    });
    QSignalSpy finished(&main, &vx::shell::MainWindow::CommandFinished);
    main.NeuErstellenBtnClick();
    if (!finished.wait(3600 * 1000)) {
        std::fprintf(stderr, "the run did not end\n");
        return 1;
    }
    measuring = false;
    const qint64 total = clock.elapsed();
    std::sort(gaps.begin(), gaps.end());
    const qint64 largest = gaps.empty() ? 0 : gaps.back();
    const qint64 p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    std::printf(
        "run: %lld ms, %zu ticks, largest gap between 10 ms ticks: %lld ms (ending at %lld ms), "
        "99th percentile: %lld ms\nstatus: %s\n",
        static_cast<long long>(total), gaps.size(), static_cast<long long>(largest),
        static_cast<long long>(largestAt), static_cast<long long>(p99),
        QString::fromStdU16String(main.StatusLine()).toLocal8Bit().constData());
    windows.main.reset();
    return largest < 100 ? 0 : 3;
}
