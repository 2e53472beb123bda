// meshgen: builds the helicopter and the airfield from their parts and writes
// their mesh tables as C++ sources.
//
//   meshgen OUTDIR [--report]
//
// writes OUTDIR/di64_tables.cpp and OUTDIR/airfield_tables.cpp. With
// --report it prints faces, vertices and normals per run and part to stderr.
// It fails (exit 1), writing nothing for that model, when a model misses its
// counts, extents or invariants; --keep-going writes the tables anyway (for
// looking at a model while its counts are being worked out).

#include "model.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

bool writeFile(const std::string &path, const std::string &text)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: meshgen OUTDIR [--report]\n");
        return 2;
    }
    const std::string outDir = argv[1];
    bool wantReport = false, keepGoing = false;
    for (int i = 2; i < argc; ++i) {
        wantReport |= std::strcmp(argv[i], "--report") == 0;
        keepGoing |= std::strcmp(argv[i], "--keep-going") == 0;
    }
    try {
        struct Job
        {
            Model (*build)();
            const char *file;
        };
        const Job jobs[]
            = {{buildHelicopter, "di64_tables.cpp"}, {buildAirfield, "airfield_tables.cpp"}};
        bool ok = true;
        for (const Job &job : jobs) {
            Model model = job.build();
            const Tables tables = assemble(model);
            if (wantReport)
                std::fputs(report(model).c_str(), stderr);
            for (const std::string &p : check(model, tables)) {
                std::fprintf(stderr, "meshgen: %s\n", p.c_str());
                ok = false;
            }
            if (!ok && !keepGoing)
                continue;
            if (!writeFile(outDir + "/" + job.file, writeSource(model, tables))) {
                std::fprintf(stderr, "meshgen: cannot write %s/%s\n", outDir.c_str(), job.file);
                return 1;
            }
        }
        return ok ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "meshgen: %s\n", e.what());
        return 1;
    }
}
