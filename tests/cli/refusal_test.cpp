// kestal-sim's refusals: one line on stderr naming what is at fault, nothing on stdout, status 2,
// the same under every locale; output that cannot be written (1) and stop signals (130, 143).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "CommandCall.h"
#include "project/ProjectFile.h"
#include "assessment/Session.h"
#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/RunCommand.h"
#include "cli/StudyCommand.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

const std::vector<std::string> Two = {"--measure", "А;300;H14=11", "--measure", "Б;400;H03=11"};

// `count` measures, each setting one factor to level 1.
std::vector<std::string> Measures(std::size_t count)
{
    std::vector<std::string> args;
    for (std::size_t f = 0; f < count; ++f)
        args.insert(args.end(), {"--measure", std::string("М;1;") + FactorCatalogue[f].id + "=1"});
    return args;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Replaced(std::string text, const std::string& what, const std::string& by)
{
    return text.replace(text.find(what), what.size(), by);
}

}  // namespace

TEST(Refusals, OneLineNamingWhatIsAtFaultUnderEveryLocale)
{
    WriteFile("cut.kestal", "{");
    WriteFile("k0.kestal", Replaced(ReadFile(ExampleProject), "\"k\": \"200\"", "\"k\": \"0\""));
    Session one(&SystemClock(), EnglishNumberLocale(), EnglishNumberLocale());
    one.SetCostText("5");
    one.MoveBar(0, 0);
    one.Capture();
    WriteFile("one.kestal", ProjectJson(one.state()));
    // Saved under a Russian locale: the budget typed "0,5" is the number 0.5 in the file.
    Session russian(&SystemClock(), RussianNumberLocale(), RussianNumberLocale());
    russian.SetBudgetText("0,5");
    WriteFile("ru.kestal", ProjectJson(russian.state()));
    std::remove("fifo.kestal");
    ::mkfifo("fifo.kestal", 0600);
    const struct {
        Command command;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        // Options and their values.
        {RunCommand, {"-K"}, "kestal-sim run: option -K needs a value"},
        {ExactCommand, {"-K", "5"}, "kestal-sim exact: unknown option '-K'"},
        {OptimizeCommand, With(Two, {"-N", "10"}), "kestal-sim optimize: unknown option '-N'"},
        {ImportanceCommand, {"--format", "csv"}, "kestal-sim importance: --format 'csv': expected table or json"},
        {RunCommand, {"--seed", "86400000"}, "kestal-sim run: --seed '86400000': the seed is 0 to 86399999"},
        // K and N with their ranges.
        {RunCommand, {"-K", "abc"}, "kestal-sim run: -K 'abc': 'abc' is not a valid integer value; K is 1 to 2000"},
        {RunCommand, {"-K", "2001"}, "kestal-sim run: -K '2001': Число опытов K должно быть от 1 до 2000"},
        {RunCommand, {"-N", "0"}, "kestal-sim run: -N '0': Число инициаций N должно быть не меньше 1"},
        {StudyCommand, With(Two, {"-N", "2147483648"}),
         "kestal-sim study: -N '2147483648': '2147483648' is not a valid integer value; N is 1 to 2147483647"},
        // Levels; control characters echoed escaped.
        {RunCommand,
         {"--level", "H01=abc"},
         "kestal-sim run: --level 'H01=abc': 'abc' is not a valid integer value; a level number is 1 to 11"},
        {ExactCommand, {"--level", "H01=12"}, "kestal-sim exact: --level 'H01=12': a level number is 1 to 11"},
        {RunCommand, {"--level", "H10=3"}, "kestal-sim run: --level 'H10=3': unknown factor id 'H10'"},
        {RunCommand, {"--level", "H01\n=1"}, "kestal-sim run: --level 'H01\\n=1': unknown factor id 'H01\\n'"},
        // ESC, DEL and the C1 control U+0085 escaped byte by byte; U+00A0 is no control and stays.
        {RunCommand,
         {"--level", "H01\x1b\x7f\xc2\x85\xc2\xa0=1"},
         "kestal-sim run: --level 'H01\\x1B\\x7F\\xC2\\x85\xc2\xa0=1': unknown factor id "
         "'H01\\x1B\\x7F\\xC2\\x85\xc2\xa0'"},
        {RunCommand, {"--level", "H01"}, "kestal-sim run: --level 'H01': expected ID=NUMBER, got 'H01'"},
        // A measure's text.
        {StudyCommand,
         {"--measure", "А;300"},
         "kestal-sim study: --measure 'А;300': expected NAME;COST;ID=NUMBER[,ID=NUMBER...]"},
        {StudyCommand,
         {"--measure", "А;300;H01=9,"},
         "kestal-sim study: --measure 'А;300;H01=9,': an empty change entry; expected ID=NUMBER[,ID=NUMBER...]"},
        {StudyCommand,
         {"--measure", "А;300;H01=9,,H02=9"},
         "kestal-sim study: --measure 'А;300;H01=9,,H02=9': an empty change entry; expected ID=NUMBER[,ID=NUMBER...]"},
        {StudyCommand,
         {"--measure", "А;300;H01=2,H01=3"},
         "kestal-sim study: --measure 'А;300;H01=2,H01=3': H01 given twice"},
        {OptimizeCommand,
         {"--measure", "А\xff;300;H01=2"},
         "kestal-sim optimize: --measure 'А\\xFF;300;H01=2': not valid UTF-8"},
        // A measure as the editor captures it.
        {StudyCommand, With(Two, {"--measure", " \t;1;T01=1"}),
         "kestal-sim study: --measure ' \\t;1;T01=1': Введите название мероприятия"},
        {StudyCommand,
         {"--measure", "А;0;H14=11", "--measure", "Б;1;H01=1"},
         "kestal-sim study: --measure 'А;0;H14=11': Затраты на внедрение должны быть не меньше 1 у.е."},
        {StudyCommand,
         {"--measure", "А;1,5;H14=11", "--measure", "Б;1;H01=1"},
         "kestal-sim study: --measure 'А;1,5;H14=11': '1,5' is not a valid floating point value"},
        {OptimizeCommand,
         With(Two, {"--measure", "В;1;H01=1,H02=1,H04=1,H05=1,H06=1,H07=1,H08=1,H09=1,H12=1,H13=1,M01=1"}),
         "kestal-sim optimize: --measure 'В;1;H01=1,H02=1,H04=1,H05=1,H06=1,H07=1,H08=1,H09=1,H12=1,H13=1,M01=1': "
         "В одном мероприятии можно изменить не более 10 факторов"},
        {StudyCommand, With(Two, {"--level", "M01=5", "--measure", "В;100;M02=9,M01=5"}),
         "kestal-sim study: --measure 'В;100;M02=9,M01=5': M01 stands at level 5 already"},
        {OptimizeCommand, With(Two, {"--measure", "В;1;H14=2"}),
         "kestal-sim optimize: --measure 'В;1;H14=2': H14 belongs to an earlier measure"},
        // How many measures.
        {StudyCommand,
         {"--measure", "А;300;H14=11"},
         "kestal-sim study: --measure given 1 time: Для расчета нужно 2 или 3 мероприятия"},
        {StudyCommand, Measures(4), "kestal-sim study: --measure given 4 times: Для расчета нужно 2 или 3 мероприятия"},
        {OptimizeCommand, Measures(16),
         "kestal-sim optimize: --measure given 16 times: Для подбора лучшего набора нужно от 2 до 15 мероприятий"},
        // Budget, damage and the costs' total.
        {StudyCommand, With(Two, {"--budget", "0.5"}), "kestal-sim study: --budget '0.5': must be 1 or more"},
        {OptimizeCommand, With(Two, {"--damage", "-3"}), "kestal-sim optimize: --damage '-3': must be 1 or more"},
        {StudyCommand, With(Two, {"--budget", "1500,5"}),
         "kestal-sim study: --budget '1500,5': '1500,5' is not a valid floating point value"},
        {StudyCommand,
         {"--measure", "А;3e38;H14=11", "--measure", "Б;3e38;H03=11", "--budget", "1e39"},
         "kestal-sim study: the costs 3e+38 + 3e+38 add up to more than a cost can hold (3.4028235e+38)"},
        // Project files: the reader's message, or the file's setting named.
        {RunCommand,
         {"--project", "cut.kestal"},
         "kestal-sim run: Файл «cut.kestal» не открыт: строка 1, столбец 2: файл обрывается"},
        {RunCommand,
         {"--project", "k0.kestal"},
         "kestal-sim run: k0.kestal: k '0': Число опытов K должно быть от 1 до 2000"},
        {StudyCommand,
         {"--project", "one.kestal"},
         "kestal-sim study: one.kestal holds 1 measure: Для расчета нужно 2 или 3 мероприятия"},
        {StudyCommand, {"--project", "ru.kestal"}, "kestal-sim study: ru.kestal: budget '0.5': must be 1 or more"},
        // A pipe is refused at once, not read until something writes into it.
        {RunCommand,
         {"--project", "fifo.kestal"},
         "kestal-sim run: Файл «fifo.kestal» не открыт: не удалось прочитать файл (это не обычный файл)"},
    };
    for (const char* locale : {"C", "ru_RU.UTF-8"}) {
        const ScopedLocale scoped(locale);
        for (const auto& c : cases) {
            const Outcome outcome = Call(c.command, c.args);
            EXPECT_EQ(outcome.status, 2) << c.message;
            EXPECT_EQ(outcome.err, c.message + "\n") << locale;
            EXPECT_EQ(outcome.out, "") << c.message;
        }
    }
    for (const char* file : {"cut.kestal", "k0.kestal", "one.kestal", "ru.kestal", "fifo.kestal"}) std::remove(file);
}

TEST(Refusals, TheProgramEndsWithTheConventionalStatus)
{
    if (!std::getenv("KESTAL_SIM")) GTEST_SKIP() << "KESTAL_SIM not set";
    const std::string commands =
        "run, study, exact, importance, optimize, plan, panel, compare or batch (kestal-sim --help shows their "
        "options)";
    const struct {
        std::string script;  // run by sh, "$KESTAL_SIM" the program; its output and errors go to files
        int status;
        std::string err;
    } cases[] = {
        {"\"$KESTAL_SIM\" fly", 2, "kestal-sim: unknown command 'fly'; expected " + commands + "\n"},
        {"\"$KESTAL_SIM\"", 2, "kestal-sim: expected a command: " + commands + "\n"},
        {"\"$KESTAL_SIM\" exact >/dev/full", 1,
         "kestal-sim exact: the output could not be written: No space left on device\n"},
        {"\"$KESTAL_SIM\" importance >&-", 1,
         "kestal-sim importance: the output could not be written: Bad file descriptor\n"},
        // One experiment of the largest N, stopped within it (the stop between slices is checked in
        // the series' tests, its latency in the benchmarks); the signal may come before the handler
        // is set up, which ends with the same status.
        {"\"$KESTAL_SIM\" run -K 1 -N 2147483647 & sleep 0.5; kill -INT $!; wait $!", 130, ""},
        {"\"$KESTAL_SIM\" study -K 1 -N 2147483647 --measure 'А;1;H01=1' --measure 'Б;1;H02=1' & sleep 0.5; "
         "kill -TERM $!; wait $!",
         143, ""},
        // A reader that closed the pipe before the output came: the program starts once the reader
        // has said through a named pipe that it closed its end.
        {"mkfifo closed.fifo; { read line <closed.fifo; \"$KESTAL_SIM\" exact; echo \"status $?\" >&2; } | "
         "{ exec 0<&-; echo >closed.fifo; }",
         0, "kestal-sim exact: the output could not be written: Broken pipe\nstatus 1\n"},
        // A rating at the level a captured measure gives its factor: the change is no change.
        {"\"$KESTAL_SIM\" optimize --project '" + ExampleProject + "' --level T04=10 >/dev/null", 0, ""},
    };
    for (const auto& c : cases) {
        WriteFile("program.sh", c.script);
        const int status = std::system("sh program.sh >program.out 2>program.err");
        std::remove("closed.fifo");
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.script;
        EXPECT_EQ(ReadFile("program.err"), c.err) << c.script;
        EXPECT_EQ(ReadFile("program.out"), "") << c.script;
    }
    for (const char* file : {"program.sh", "program.out", "program.err"}) std::remove(file);
}
