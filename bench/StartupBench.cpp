// Times Tonquill's start from process creation until its window is mapped on the X server, and
// its peak memory, against a bare Qt window with a plain-text editor, started alternately.
//
//   tonquill_startup_bench --program-folder DIR --bare FILE [--runs N]
#include "LaunchedProcess.h"
#include "MapWatch.h"
#include "Samples.h"
#include "StartupSandbox.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Long enough after the map for the first paint to have happened, so that peak memory counts it.
constexpr auto settle = 700ms;
constexpr auto mapTimeout = 20s;

struct Start {
    double milliseconds = 0.0;
    double peakMegabytes = 0.0;
};

struct Series {
    bench::Samples milliseconds;
    bench::Samples peakMegabytes;

    void add(const Start& start) {
        milliseconds.add(start.milliseconds);
        peakMegabytes.add(start.peakMegabytes);
    }
};

std::optional<Start> startOnce(bench::MapWatch& watch, const std::string& program,
                               const std::vector<std::string>& environment) {
    watch.drain();
    bench::LaunchedProcess process(program, environment);
    if (!process.running())
        return std::nullopt;
    const auto mapped = watch.nextMap(bench::MapWatch::Clock::now() + mapTimeout);
    if (!mapped)
        return std::nullopt;
    std::this_thread::sleep_for(settle);
    const std::chrono::duration<double, std::milli> elapsed = *mapped - process.started();
    return Start{elapsed.count(), double(process.peakResidentKib()) * 1024.0 / 1e6};
}

void report(const Series& tonquill, const Series& bare) {
    const double timeRatio = tonquill.milliseconds.median() / bare.milliseconds.median();
    const double extraMegabytes = tonquill.peakMegabytes.median() - bare.peakMegabytes.median();
    std::printf("Start-up until the window is mapped (Xvfb), median of %d starts each\n",
                tonquill.milliseconds.count());
    std::printf("%-30s %12s %14s\n", "", "time (ms)", "peak RSS (MB)");
    std::printf("%-30s %12.1f %14.1f\n", "Tonquill", tonquill.milliseconds.median(),
                tonquill.peakMegabytes.median());
    std::printf("%-30s %12.1f %14.1f\n", "bare QMainWindow + editor", bare.milliseconds.median(),
                bare.peakMegabytes.median());
    std::printf("%-30s %11.2fx %+13.1f\n", "Tonquill against bare", timeRatio, extraMegabytes);
    std::printf("%-30s %12s %14s   %s\n", "target", "<= 1.20x", "<= +4.0",
                timeRatio <= 1.2 && extraMegabytes <= 4.0 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption folderOption("program-folder", "Tonquill's program folder.", "DIR");
    const QCommandLineOption bareOption("bare", "The bare Qt window program.", "FILE");
    const QCommandLineOption runsOption("runs", "Starts of each program.", "N", "15");
    parser.addOptions({folderOption, bareOption, runsOption});
    parser.process(application);

    bench::MapWatch watch;
    if (!watch.connected()) {
        std::fprintf(stderr, "No X display to start the programs on (DISPLAY is unset).\n");
        return 1;
    }
    bench::StartupSandbox sandbox(parser.value(folderOption));
    if (!sandbox.ready()) {
        std::fprintf(stderr, "Could not copy the program folder %s.\n",
                     qPrintable(parser.value(folderOption)));
        return 1;
    }
    const auto environment = sandbox.environment();
    const std::string bareProgram = parser.value(bareOption).toStdString();

    // From a build folder the first start installs the tone font into the sandbox's home, as on a
    // user's machine; the starts measured are the later ones, with the marker rewritten. An
    // installed program folder already holds that marker and installs nothing.
    startOnce(watch, sandbox.program(), environment);
    if (sandbox.marker() != "\"Ja\"\r\n")
        std::fprintf(stderr, "The first start did not rewrite the marker; rewriting it.\n");
    sandbox.rewriteMarker();
    startOnce(watch, bareProgram, environment);

    Series tonquill;
    Series bare;
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
        const auto ours = startOnce(watch, sandbox.program(), environment);
        const auto theirs = startOnce(watch, bareProgram, environment);
        if (!ours || !theirs) {
            std::fprintf(stderr, "A window was not mapped within %lld s.\n",
                         static_cast<long long>(mapTimeout.count()));
            return 1;
        }
        tonquill.add(*ours);
        bare.add(*theirs);
    }
    report(tonquill, bare);
    return 0;
}
