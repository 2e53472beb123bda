// Tick-rate and CPU-cost benchmark of the viewer window. See --help.

#include "benchwindows.h"
#include "groundsweep.h"
#include "mygl.h"
#include "stats.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char *const usage = R"(usage: tickbench [seconds] [--rounds N]
       tickbench --sweep [seconds] [--rounds N]

Without --sweep: shows the viewer window and a window of the same layout whose
four GL views only clear, one after the other, N times (default 3), for the
given seconds each (default 5); prints for each window the tick rate of the
main view and the CPU time per tick (GUI thread, other threads of the process
such as llvmpipe's rasterisers, and the X server when it can be read), minimum
and median over the rounds, and the ratio of the two windows. Run it from the
build folder so that the viewer finds its ground picture.

--sweep: makes ground pictures of 256, 1024 and 4096 pixels square in a
temporary folder and runs the viewer window with each, in a process of its
own, N times, sizes alternating; prints tick rate, CPU per tick, resident
memory (at the end and at the peak), the start-up time (from starting the
process to the window shown, every view drawn) and the resident memory two
seconds after that, for each size.
)";

void printWindow(const char *name, const std::vector<Round> &rounds)
{
    const Spread ticks = spreadOf(rounds, [](const Round &r) { return r.ticks[0]; });
    const Spread total = spreadOf(rounds, [](const Round &r) { return r.totalMs(); });
    const Spread main = spreadOf(rounds, [](const Round &r) { return r.mainMs; });
    const Spread other = spreadOf(rounds, [](const Round &r) { return r.otherMs; });
    const Spread server = spreadOf(rounds, [](const Round &r) { return r.serverMs; });
    std::printf("%-9s %7.1f %7.1f %7.2f %7.2f  %5.2f %5.2f  %5.2f %5.2f  %5.2f %5.2f\n", name,
        ticks.min, ticks.median, total.min, total.median, main.min, main.median, other.min,
        other.median, server.min, server.median);
}

void printViews(const char *name, const std::vector<Round> &rounds)
{
    const char *views[4] = {"main", "top", "front", "back"};
    std::printf("%s, median ticks/s (frames/s) per view:", name);
    for (int i = 0; i < 4; ++i) {
        std::printf(" %s %.1f (%.1f)", views[i],
            spreadOf(rounds, [i](const Round &r) { return r.ticks[i]; }).median,
            spreadOf(rounds, [i](const Round &r) { return r.frames[i]; }).median);
    }
    std::printf("\n");
}

int runAlternating(double seconds, int rounds)
{
    std::printf("tick benchmark: %d rounds of %.0f s per window, platform %s\n", rounds, seconds,
        qPrintable(QGuiApplication::platformName()));
    std::vector<Round> viewer, baseline;
    for (int r = 0; r < rounds; ++r) {
        viewer.push_back(measureViewer(seconds));
        baseline.push_back(measureBaseline(seconds));
        std::fprintf(stderr, "  round %d: viewer %.1f, baseline %.1f ticks/s\n", r + 1,
            viewer.back().ticks[0], baseline.back().ticks[0]);
    }
    std::printf("%-9s %15s %15s %12s %12s %12s\n", "window", "ticks/s", "CPU ms/tick",
        "main thread", "other thr.", "X server");
    std::printf("%-9s %7s %7s %7s %7s  %5s %5s  %5s %5s  %5s %5s\n", "", "min", "median", "min",
        "median", "min", "med", "min", "med", "min", "med");
    printWindow("viewer", viewer);
    printWindow("baseline", baseline);
    if (!serverNote().isEmpty())
        std::printf("X server CPU not counted: %s\n", qPrintable(serverNote()));
    printViews("viewer", viewer);
    printViews("baseline", baseline);
    const double baseTicks = spreadOf(baseline, [](const Round &r) { return r.ticks[0]; }).median;
    const double baseCpu = spreadOf(baseline, [](const Round &r) { return r.totalMs(); }).min;
    std::printf("viewer / baseline: tick rate (median) %.3f, CPU per tick (min) %.3f\n",
        spreadOf(viewer, [](const Round &r) { return r.ticks[0]; }).median / baseTicks,
        spreadOf(viewer, [](const Round &r) { return r.totalMs(); }).min / baseCpu);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    bool sweep = false, sceneOnce = false;
    double seconds = 5;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            std::fputs(usage, stdout);
            return 0;
        } else if (!std::strcmp(arg, "--sweep")) {
            sweep = true;
        } else if (!std::strcmp(arg, sceneOnceArgument)) {
            sceneOnce = true;
        } else if (!std::strcmp(arg, "--rounds") && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::atof(arg) > 0) {
            seconds = std::max(1.0, std::atof(arg));
        } else {
            std::fputs(usage, stderr);
            return 2;
        }
    }

    if (sweep) {
        QCoreApplication app(argc, argv);
        return runGroundSweep(QCoreApplication::applicationFilePath(), seconds, rounds);
    }
    useLegacyGLFormat();
    QApplication app(argc, argv);
    return sceneOnce ? runSceneOnce(seconds) : runAlternating(seconds, rounds);
}
