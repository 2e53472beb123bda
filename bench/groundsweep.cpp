#include "groundsweep.h"

#include "cpuclock.h"
#include "stats.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int sweepSizes[] = {256, 1024, 4096};

struct SweepRound
{
    Round round;
    double peakMiB = 0;
    double startSeconds = 0; // from starting the process to the window shown
};

// A grass-like picture that is not uniform anywhere: per-pixel noise over
// coarse light and dark squares, so that no two neighbouring texels agree.
QImage sweepPicture(int size)
{
    QImage picture(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size; ++x) {
            quint32 h = quint32(x) * 0x8da6b343u ^ quint32(y) * 0xd8163841u;
            h ^= h >> 13;
            h *= 0x5bd1e995u;
            h ^= h >> 15;
            const int square = ((x >> 5) ^ (y >> 5)) & 1 ? 30 : 0;
            line[x] = qRgb(60 + square + int(h & 63), 100 + square + int((h >> 8) & 63),
                30 + int((h >> 16) & 31));
        }
    }
    return picture;
}

bool runChild(const QString &program, const QString &folder, double seconds, SweepRound &out)
{
    QProcess child;
    child.setWorkingDirectory(folder);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, {QString::fromLatin1(sceneOnceArgument), QString::number(seconds)});
    // The child says so as soon as its window is shown, every view drawn.
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(120000))
            return false;
    }
    out.startSeconds = clock.nsecsElapsed() / 1e9;
    if (child.readLine() != "shown\n" || !child.waitForFinished(int(seconds * 1000) + 120000)
        || child.exitCode() != 0)
        return false;
    const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
    if (f.size() != 8 || f[0] != "scene")
        return false;
    out.round.ticks[0] = f[1].toDouble();
    out.round.mainMs = f[2].toDouble();
    out.round.otherMs = f[3].toDouble();
    out.round.serverMs = f[4].toDouble();
    out.round.residentMiB = f[5].toDouble();
    out.peakMiB = f[6].toDouble();
    out.round.shownResidentMiB = f[7].toDouble();
    return true;
}

} // namespace

int runSceneOnce(double seconds)
{
    const Round r = measureViewer(seconds, [] {
        std::printf("shown\n");
        std::fflush(stdout);
    });
    std::printf("scene %.3f %.4f %.4f %.4f %.1f %.1f %.1f\n", r.ticks[0], r.mainMs, r.otherMs,
        r.serverMs, r.residentMiB, std::max(r.residentMiB, peakResidentMiB()), r.shownResidentMiB);
    return 0;
}

int runGroundSweep(const QString &program, double seconds, int rounds)
{
    std::map<int, QString> folders;
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    for (int size : sweepSizes) {
        dirs.push_back(std::make_unique<QTemporaryDir>());
        const QString folder = dirs.back()->path();
        if (!dirs.back()->isValid()
            || !sweepPicture(size).save(folder + QStringLiteral("/ground.bmp"), "BMP")) {
            std::fprintf(stderr, "could not write a %d x %d picture in %s\n", size, size,
                qPrintable(folder));
            return 1;
        }
        folders[size] = folder;
    }

    std::printf(
        "ground picture sweep: %d rounds, %.0f s per run, one process per run\n", rounds, seconds);
    std::map<int, std::vector<SweepRound>> results;
    for (int r = 0; r < rounds; ++r) {
        for (int size : sweepSizes) {
            SweepRound result;
            if (!runChild(program, folders[size], seconds, result)) {
                std::fprintf(stderr, "the run with the %d x %d picture failed\n", size, size);
                return 1;
            }
            results[size].push_back(result);
            std::fprintf(
                stderr, "  round %d, %4d^2: %.1f ticks/s\n", r + 1, size, result.round.ticks[0]);
        }
    }

    std::printf("%-11s %15s %15s %21s %17s %8s %9s\n", "picture", "ticks/s", "CPU ms/tick",
        "main/other/X (median)", "RSS MiB end/peak", "start s", "RSS at 2s");
    std::printf("%-11s %7s %7s %7s %7s %48s %9s\n", "", "min", "median", "min", "median", "median",
        "median");
    for (int size : sweepSizes) {
        const auto &rs = results[size];
        const Spread ticks = spreadOf(rs, [](const SweepRound &s) { return s.round.ticks[0]; });
        const Spread cpu = spreadOf(rs, [](const SweepRound &s) { return s.round.totalMs(); });
        const Spread main = spreadOf(rs, [](const SweepRound &s) { return s.round.mainMs; });
        const Spread other = spreadOf(rs, [](const SweepRound &s) { return s.round.otherMs; });
        const Spread server = spreadOf(rs, [](const SweepRound &s) { return s.round.serverMs; });
        const Spread rss = spreadOf(rs, [](const SweepRound &s) { return s.round.residentMiB; });
        const Spread peak = spreadOf(rs, [](const SweepRound &s) { return s.peakMiB; });
        const Spread start = spreadOf(rs, [](const SweepRound &s) { return s.startSeconds; });
        const Spread shown
            = spreadOf(rs, [](const SweepRound &s) { return s.round.shownResidentMiB; });
        std::printf(
            "%4d x %-4d %7.1f %7.1f %7.2f %7.2f  %6.2f %6.2f %6.2f %8.0f %8.0f %8.2f %9.0f\n", size,
            size, ticks.min, ticks.median, cpu.min, cpu.median, main.median, other.median,
            server.median, rss.median, peak.median, start.median, shown.median);
    }
    const auto ratio = [&](auto value) {
        const double small = spreadOf(results[256], value).median;
        return small > 0 ? spreadOf(results[4096], value).median / small : 0.0;
    };
    const auto ratioMin = [&](auto value) {
        const double small = spreadOf(results[256], value).min;
        return small > 0 ? spreadOf(results[4096], value).min / small : 0.0;
    };
    std::printf("4096^2 / 256^2: tick rate (median) %.3f, CPU per tick (min) %.3f, start-up "
                "(median) %.2f\n",
        ratio([](const SweepRound &s) { return s.round.ticks[0]; }),
        ratioMin([](const SweepRound &s) { return s.round.totalMs(); }),
        ratio([](const SweepRound &s) { return s.startSeconds; }));
    const auto shownMiB = [&](int size) {
        return spreadOf(results[size], [](const SweepRound &s) {
            return s.round.shownResidentMiB;
        }).median;
    };
    std::printf("4096^2 - 256^2: resident memory 2 s after shown (median) %+.0f MiB\n",
        shownMiB(4096) - shownMiB(256));
    return 0;
}
