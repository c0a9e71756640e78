// kestal-register-bench [sqlite|postgresql]: a register of 10 000 workplaces × 3 versions of the example
// assessment on each engine (both unless one is named; PostgreSQL on a server of its own with durable
// writes) — how long opening it and listing every workplace takes, and saving one version.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/Clock.h"
#include "register/Register.h"
#include "support/TemporaryPostgres.h"

using namespace kestal;

namespace {

constexpr int Workplaces = 10'000;
constexpr int VersionsEach = 3;
constexpr int Batch = 1'000;
constexpr int Repeats = 20;

double Now() { return SystemClock().MonotonicSeconds(); }

std::string Example()
{
    std::ifstream file(std::string(KESTAL_SOURCE_DIR) + "/examples/workplace.kestal", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

WorkplaceColumns Columns(int workplace)
{
    return {"Цех " + std::to_string(workplace % 40),
            std::to_string(workplace),
            "Слесарь-ремонтник",
            "2025-02-28",
            0.0023017749470620015,
            1 + workplace % 5,
            "средний",
            workplace % 4};
}

struct Spread {
    double median, worst;
};

Spread SpreadOf(std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    return {seconds[seconds.size() / 2] * 1000, seconds.back() * 1000};
}

void Measure(const char* engine, const std::string& location)
{
    const Saver saver = ThisProgramSaver("Замер");
    const std::string project = Example();
    double start = Now();
    {
        Register reg = CreateRegister(location);
        for (int version = 1; version <= VersionsEach; ++version)
            for (int first = 1; first <= Workplaces; first += Batch) {
                std::vector<VersionToSave> batch;
                for (int w = first; w < first + Batch; ++w)
                    batch.push_back({version == 1 ? 0 : w, version - 1, project, Columns(w), "замер"});
                reg.Save(saver, batch);
            }
    }
    std::printf("%s: %d workplaces × %d versions of %zu bytes saved in %.1f s\n", engine, Workplaces, VersionsEach,
                project.size(), Now() - start);

    std::vector<double> listing;
    for (int i = 0; i < Repeats; ++i) {
        start = Now();
        const Register reg = OpenRegister(location);
        const std::size_t listed = reg.Workplaces().size();
        listing.push_back(Now() - start);
        if (listed != Workplaces) std::printf("  listed %zu workplaces\n", listed);
    }
    const Spread list = SpreadOf(listing);
    std::printf("  open and list: median %.1f ms, worst %.1f ms (goal 1000 ms)\n", list.median, list.worst);

    Register reg = OpenRegister(location);
    std::mt19937 random(7);
    std::vector<double> saving;
    std::vector<int> latest(Workplaces + 1, VersionsEach);
    for (int i = 0; i < Repeats; ++i) {
        const int w = 1 + static_cast<int>(random() % Workplaces);
        start = Now();
        reg.Save(saver, {{w, latest[static_cast<std::size_t>(w)], project, Columns(w), "замер"}});
        saving.push_back(Now() - start);
        ++latest[static_cast<std::size_t>(w)];
    }
    const Spread save = SpreadOf(saving);
    std::printf("  one version saved: median %.1f ms, worst %.1f ms (goal 50 ms)\n", save.median, save.worst);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    try {
        if (only.empty() || only == "sqlite") {
            char folder[] = "/tmp/kestal-register-bench-XXXXXX";
            if (!mkdtemp(folder)) throw std::runtime_error("no temporary folder");
            const std::string path = std::string(folder) + "/bench.kestaldb";
            Measure("SQLite", path);
            std::remove(path.c_str());
            rmdir(folder);
        }
        if (only.empty() || only == "postgresql") {
            TemporaryPostgres server(true);
            Measure("PostgreSQL", server.NewDatabase());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestal-register-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
