// Project files on the disk: a save replaces the file whole or leaves it as it was; opening reads
// no more than the size limit; the example opens and is what the code makes of its assessment.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "Assessments.h"
#include "Session/ProjectFile.h"
#include "support/ErrorOf.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A folder of its own, removed afterwards.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("kestal-project-test-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    // Every file and folder in it with its contents ("" for a folder).
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(path))
            entries[fs::relative(entry.path(), path).string()] = entry.is_directory() ? "" : Contents(entry.path());
        return entries;
    }
};

// The call with writes limited to `bytes` per file: a longer write fails part way, as on a full disk.
std::string WithFileSizeLimit(rlim_t bytes, const std::function<std::string()>& call)
{
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit low = old;
    low.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &low);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    std::string result = call();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return result;
}

TEST(ProjectDisk, SaveReplacesTheFileAndLeavesNothingBeside)
{
    const Folder folder;
    SaveProjectFile(folder / "цех.kestal", "old");
    SaveProjectFile(folder / "цех.kestal", "new");
    EXPECT_EQ(folder.Snapshot(), (std::map<std::string, std::string>{{"цех.kestal", "new"}}));
}

TEST(ProjectDisk, FailedSaveLeavesTheFolderAsItWas)
{
    struct FailedSave {
        const char* what;
        std::string target;
        bool writeFailsPartWay;
        std::string reason;
    };
    const FailedSave saves[] = {
        {"interrupted write", "цех.kestal", true, "не удалось записать данные (файл слишком велик)"},
        {"a folder in the way", "архив", false, "не удалось заменить файл (это папка)"},
        {"no such folder", "нет/цех.kestal", false, "не удалось создать файл (нет такого файла или папки)"},
    };
    const std::string bytes(64 * 1024, 'x');
    for (const FailedSave& save : saves) {
        const Folder folder;
        SaveProjectFile(folder / "цех.kestal", "old");
        fs::create_directories(folder.path / "архив");
        SaveProjectFile(folder / "архив/старый.kestal", "old");
        const auto before = folder.Snapshot();

        const std::string path = folder / save.target;
        const auto attempt = [&] { return ErrorOf([&] { SaveProjectFile(path, bytes); }); };
        const std::string message = save.writeFailsPartWay ? WithFileSizeLimit(4096, attempt) : attempt();
        EXPECT_EQ(message, "Файл «" + path + "» не сохранён: " + save.reason) << save.what;
        EXPECT_EQ(folder.Snapshot(), before) << save.what;
    }
}

TEST(ProjectDisk, OpeningRefusesWhatItCannotRead)
{
    const Folder folder;
    SaveProjectFile(folder / "большой.kestal", std::string(MaxProjectBytes + 1, ' '));
    EXPECT_EQ(ErrorOf([&] { OpenProjectFile(folder / "большой.kestal"); }),
              "Файл «" + folder / "большой.kestal" + "» не открыт: файл больше 10 МБ");
    EXPECT_EQ(ErrorOf([&] { OpenProjectFile(folder / "нет.kestal"); }),
              "Файл «" + folder / "нет.kestal" +
                  "» не открыт: не удалось прочитать файл (нет такого файла или папки)");
}

// The example file is the workplace assessment as the code writes it; KESTAL_WRITE_EXAMPLE=1 writes it anew.
TEST(ProjectExample, OpensAndIsWhatTheCodeMakes)
{
    const std::string path = KESTAL_SOURCE_DIR "/examples/workplace.kestal";
    const FixedClock clock(ExampleClockReading);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    AssessWorkplace(session);
    const std::string made = ProjectJson(session.state());
    if (std::getenv("KESTAL_WRITE_EXAMPLE")) SaveProjectFile(path, made);

    EXPECT_EQ(Contents(path), made);
    const SessionState opened = OpenProjectFile(path);
    EXPECT_EQ(opened.measures.MeasureCount, 3);
    EXPECT_EQ(opened.RunCounter(), 1);
    EXPECT_TRUE(opened.study.totalsShown && opened.study.detailed);
}

// Every measure of the example lowers the exact accident probability on its own, and the budget
// buys a set of them.
TEST(ProjectExample, EachMeasureHelpsAndTheBudgetBuysASet)
{
    const FixedClock clock(ExampleClockReading);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    session.Load(OpenProjectFile(KESTAL_SOURCE_DIR "/examples/workplace.kestal"));
    const long double baseline = session.ExactNodes().node[NodeI];
    const std::vector<CandidateMeasure> measures = session.CapturedCandidates();
    ASSERT_EQ(measures.size(), 3u);
    for (const CandidateMeasure& measure : measures) {
        NetworkInputs inputs = session.RatingInputs();
        for (const auto& [slot, value] : measure.changes) inputs.slot[slot] = value;
        EXPECT_LT(ExactNodeProbabilities(inputs).node[NodeI], baseline) << measure.name;
    }
    const MeasureOptimum optimum =
        OptimizeMeasures(session.RatingInputs(), measures, *session.state().budget, *session.state().damage);
    ASSERT_TRUE(optimum.best.has_value());
    EXPECT_NE(*optimum.best, 0u);
}

}  // namespace
