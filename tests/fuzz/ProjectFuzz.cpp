// kestal-project-fuzz: feeds mutated copies of a project file to the reader, which must return a
// state or refuse the file with KestalError, never crash, hang or throw anything else. A state it
// accepts must be written and read back alike and bear the session's operations and analyses.
//
//   kestal-project-fuzz [ITERATIONS [SEED [FILE]]]     (100000, 1, examples/workplace.kestal)
//
// Each iteration is reproducible from SEED and its number alone; an input that fails is written to
// kestal-project-fuzz-failure.kestal in the current folder.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "project/ProjectFile.h"
#include "assessment/Session.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

constexpr unsigned TimeoutSeconds = 10;  // one reading; far beyond what a 10 MB file takes
const char* const FailureFile = "kestal-project-fuzz-failure.kestal";

// What a number in the file is replaced by: huge, negative, fractional and textual values.
const std::vector<std::string> NumberReplacements = {
    "1e999",
    "-1e999",
    "1e308",
    "3.5e38",
    "3.4028236e38",
    "99999999999999999999",
    "18446744073709551616",
    "9223372036854775808",
    "4294967296",
    "2147483648",
    "86400000",
    "2001",
    "12",
    "0",
    "-0",
    "-0.0",
    "-1",
    "-2147483649",
    "-1e300",
    "0.5",
    "1.25",
    "1e-400",
    "6.000001",
    "1e1",
    "\"7\"",
    "\"\"",
    "null",
    "true",
    "[]",
    "{}",
};

using Random = std::mt19937_64;

std::size_t Below(Random& random, std::size_t bound) { return bound == 0 ? 0 : random() % bound; }

// The spans of number tokens outside and inside texts alike.
std::vector<std::pair<std::size_t, std::size_t>> Numbers(const std::string& text)
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool starts =
            (c == '-' || (c >= '0' && c <= '9')) &&
            (i == 0 || text[i - 1] == ' ' || text[i - 1] == '[' || text[i - 1] == ':' || text[i - 1] == ',');
        if (!starts) continue;
        std::size_t end = i + 1;
        while (end < text.size() && std::string_view("0123456789.eE+-").find(text[end]) != std::string_view::npos)
            ++end;
        spans.emplace_back(i, end - i);
        i = end;
    }
    return spans;
}

// One mutation; numbers are replaced in two cases of five, so that many copies stay well-formed
// and reach the checks of the values.
void Mutate(std::string& text, Random& random)
{
    switch (Below(random, 10)) {
    case 0:  // bits flipped
        for (std::size_t n = 1 + Below(random, 8); n > 0 && !text.empty(); --n)
            text[Below(random, text.size())] ^= static_cast<char>(1u << Below(random, 8));
        break;
    case 1:  // cut short
        text.resize(Below(random, text.size() + 1));
        break;
    case 2: {  // a piece repeated
        const std::size_t from = Below(random, text.size() + 1);
        const std::string piece = text.substr(from, 1 + Below(random, 256));
        for (std::size_t n = 1 + Below(random, 4); n > 0; --n) text.insert(from + piece.size(), piece);
        break;
    }
    case 3: {  // a piece removed
        const std::size_t from = Below(random, text.size() + 1);
        text.erase(from, 1 + Below(random, 64));
        break;
    }
    case 4: {  // a structural character put in
        const std::string_view characters = "{}[],:\"\\ 0";
        text.insert(Below(random, text.size() + 1), 1, characters[Below(random, characters.size())]);
        break;
    }
    default: {  // numbers replaced (cases 5 to 9)
        const auto spans = Numbers(text);
        for (std::size_t n = 1 + Below(random, 3); n > 0 && !spans.empty(); --n) {
            const auto [at, length] = spans[Below(random, spans.size())];
            if (at + length > text.size()) continue;  // a span moved by an earlier replacement
            text.replace(at, length, NumberReplacements[Below(random, NumberReplacements.size())]);
        }
    }
    }
}

// The operations a window would offer on the opened session; the system's messages are allowed.
void UseSession(const SessionState& state)
{
    const FixedClock clock(36'000'000);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    session.Load(state);
    const auto allowed = [](auto call) {
        try {
            call();
        } catch (const KestalError&) {}
    };
    allowed([&] { session.Totals(); });
    allowed([&] { session.StudyEstimateText(); });
    // Every analysis of the opened assessment, every run's precision included.
    allowed([&] { session.assessment().ExactNodes(); });
    allowed([&] { session.assessment().Importance(); });
    allowed([&] { session.assessment().PrepareBestMeasures().Execute(); });
    for (const RunBlock& block : session.assessment().results) allowed([&] { PrecisionOf(block); });
    allowed([&] { session.CaptureButtonEnabled(); });
    allowed([&] {
        session.SelectMeasureFactor(29);
        session.EnterBar(29);
        session.MoveBar(29, 0);
        session.ExitBar(29);
    });
    session.SetKText("1");
    session.SetNText("10");
    allowed([&] { session.Run(); });
    allowed([&] { session.Capture(); });
    allowed([&] { session.Study(); });
    allowed([&] { session.ShowTotals(true); });
    allowed([&] { session.Totals(); });
    allowed([&] { session.ResetMeasures(); });
}

[[noreturn]] void Fail(const std::string& input, uint64_t seed, uint64_t iteration, const std::string& what)
{
    std::ofstream(FailureFile, std::ios::binary) << input;
    std::cerr << "iteration " << iteration << " (seed " << seed << "): " << what << "; input in " << FailureFile
              << "\n";
    std::exit(1);
}

void OnTimeout(int)
{
    const char message[] = "a reading took longer than the timeout: hang\n";
    [[maybe_unused]] const auto written = ::write(2, message, sizeof message - 1);
    ::_exit(2);
}

// The problem of a refusal: the message's last part, quoted texts left out.
std::string ProblemOf(const std::string& message)
{
    std::string problem = message.substr(message.rfind(": ") + 2);
    for (std::size_t open = problem.find("«"); open != std::string::npos; open = problem.find("«", open + 1)) {
        const std::size_t close = problem.find("»", open);
        if (close != std::string::npos) problem.replace(open, close - open, "«…");
    }
    return problem;
}

}  // namespace

int main(int argc, char** argv)
{
    const uint64_t iterations = argc > 1 ? std::stoull(argv[1]) : 100'000;
    const uint64_t seed = argc > 2 ? std::stoull(argv[2]) : 1;
    const std::string path = argc > 3 ? argv[3] : KESTAL_SOURCE_DIR "/examples/workplace.kestal";
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string example = buffer.str();
    ReadProject(example, path);  // the starting point must be a project
    std::signal(SIGALRM, OnTimeout);

    uint64_t accepted = 0;
    std::map<std::string, uint64_t> problems;
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < iterations; ++i) {
        Random random(seed * 1'000'003 + i);
        std::string input = example;
        for (std::size_t n = 1 + Below(random, 3); n > 0; --n) Mutate(input, random);
        ::alarm(TimeoutSeconds);
        try {
            const SessionState state = ReadProject(input, "fuzz");
            const std::string written = ProjectJson(state);
            if (ProjectJson(ReadProject(written, "written")) != written)
                Fail(input, seed, i, "written and read back differs");
            UseSession(state);
            ++accepted;
        } catch (const KestalError& error) {
            ++problems[ProblemOf(error.what())];
        } catch (const std::exception& error) {
            Fail(input, seed, i, std::string("unexpected exception: ") + error.what());
        } catch (...) {
            Fail(input, seed, i, "unexpected exception");
        }
        ::alarm(0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::cout << "iterations " << iterations << " (seed " << seed << "), " << seconds << " s\n"
              << "accepted   " << accepted << "\nrefused    " << iterations - accepted << "\n";
    std::multimap<uint64_t, std::string, std::greater<>> byCount;
    for (const auto& [problem, count] : problems) byCount.emplace(count, problem);
    for (const auto& [count, problem] : byCount) std::cout << "  " << count << "  " << problem << "\n";
    return 0;
}
