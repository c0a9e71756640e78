// Project files on the disk: a save replaces the file whole or leaves it as it was; opening reads
// no more than the size limit; the example opens and is what the code makes of its assessment.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "Assessments.h"
#include "project/ProjectFile.h"
#include "support/ErrorOf.h"

using namespace kestal;

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

TEST(ProjectDisk, OpeningRefusesWhatItCannotReadWithoutWaiting)
{
    const Folder folder;
    SaveProjectFile(folder / "большой.kestal", std::string(MaxProjectBytes + 1, ' '));
    SaveProjectFile(folder / "файл", "");
    ASSERT_EQ(::mkfifo((folder / "канал.kestal").c_str(), 0600), 0);
    fs::create_directories(folder.path / "папка.kestal");
    fs::create_symlink(folder.path / "петля.kestal", folder.path / "петля.kestal");
    fs::create_symlink("/dev/zero", folder.path / "устройство.kestal");
    const struct {
        std::string name;
        std::string problem;
    } files[] = {
        {"большой.kestal", "файл больше 10 МБ"},
        {"нет.kestal", "не удалось прочитать файл (нет такого файла или папки)"},
        {"канал.kestal", "не удалось прочитать файл (это не обычный файл)"},
        {"папка.kestal", "не удалось прочитать файл (это папка)"},
        {"устройство.kestal", "не удалось прочитать файл (это не обычный файл)"},
        {"петля.kestal", "не удалось прочитать файл (символические ссылки замкнуты в круг)"},
        {"файл/цех.kestal", "не удалось прочитать файл (часть пути не папка)"},
    };
    for (const auto& file : files)
        EXPECT_EQ(ErrorOf([&] { OpenProjectFile(folder / file.name); }),
                  "Файл «" + folder / file.name + "» не открыт: " + file.problem);
}

TEST(ProjectDisk, SaveWritesTheLinkedFileAndRefusesAReadOnlyOne)
{
    const Folder folder;
    fs::create_directories(folder.path / "архив");
    SaveProjectFile(folder / "архив/цех.kestal", "old");
    fs::create_symlink("архив/цех.kestal", folder.path / "ссылка.kestal");
    fs::create_symlink("ссылка.kestal", folder.path / "ссылка на ссылку.kestal");
    fs::create_symlink("архив/новый.kestal", folder.path / "новая ссылка.kestal");
    SaveProjectFile(folder / "ссылка на ссылку.kestal", "new");
    SaveProjectFile(folder / "новая ссылка.kestal", "first");
    EXPECT_TRUE(fs::is_symlink(folder.path / "ссылка.kestal"));
    EXPECT_TRUE(fs::is_symlink(folder.path / "ссылка на ссылку.kestal"));
    EXPECT_TRUE(fs::is_symlink(folder.path / "новая ссылка.kestal"));
    EXPECT_EQ(Contents(folder.path / "архив/цех.kestal"), "new");
    EXPECT_EQ(Contents(folder.path / "архив/новый.kestal"), "first");

    fs::permissions(folder.path / "архив/цех.kestal", fs::perms::owner_read);
    EXPECT_EQ(ErrorOf([&] { SaveProjectFile(folder / "ссылка.kestal", "newer"); }),
              "Файл «" + folder / "ссылка.kestal" + "» не сохранён: не удалось заменить файл (файл только для чтения)");
    EXPECT_EQ(Contents(folder.path / "архив/цех.kestal"), "new");
}

TEST(ProjectDisk, SaveRemovesWhatKilledSavesLeft)
{
    const Folder folder;
    // A process that has ended: a child that exits at once.
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::string alive = std::to_string(::getppid());
    for (const std::string& name :
         {"цех.kestal." + dead + "-0.tmp", "цех.kestal." + dead + "-17.tmp", "цех.kestal." + alive + "-2.tmp",
          "цех2.kestal." + dead + "-0.tmp", "цех.kestal." + dead + "-x.tmp", std::string("цех.kestal.tmp")})
        std::ofstream(folder.path / name) << "part";
    SaveProjectFile(folder / "цех.kestal", "whole");
    EXPECT_EQ(folder.Snapshot(), (std::map<std::string, std::string>{
                                     {"цех.kestal", "whole"},
                                     {"цех.kestal." + alive + "-2.tmp", "part"},
                                     {"цех2.kestal." + dead + "-0.tmp", "part"},
                                     {"цех.kestal." + dead + "-x.tmp", "part"},
                                     {"цех.kestal.tmp", "part"},
                                 }));
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
    EXPECT_EQ(opened.assessment.measures.MeasureCount, 3);
    EXPECT_EQ(opened.assessment.RunCounter(), 1);
    EXPECT_TRUE(opened.shown.study.totalsShown && opened.shown.study.detailed);
}

// Every measure of the example lowers the exact accident probability on its own, and the budget
// buys a set of them.
TEST(ProjectExample, EachMeasureHelpsAndTheBudgetBuysASet)
{
    const FixedClock clock(ExampleClockReading);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    session.Load(OpenProjectFile(KESTAL_SOURCE_DIR "/examples/workplace.kestal"));
    const long double baseline = session.assessment().ExactNodes().node[NodeI];
    const std::vector<CandidateMeasure> measures = session.assessment().CapturedCandidates();
    ASSERT_EQ(measures.size(), 3u);
    for (const CandidateMeasure& measure : measures) {
        NetworkInputs inputs = session.assessment().RatingInputs();
        for (const auto& [slot, value] : measure.changes) inputs.slot[slot] = value;
        EXPECT_LT(ExactNodeProbabilities(inputs).node[NodeI], baseline) << measure.name;
    }
    const MeasureOptimum optimum = OptimizeMeasures(session.assessment().RatingInputs(), measures,
                                                    *session.assessment().budget, *session.assessment().damage);
    ASSERT_TRUE(optimum.best.has_value());
    EXPECT_NE(*optimum.best, 0u);
}

}  // namespace
