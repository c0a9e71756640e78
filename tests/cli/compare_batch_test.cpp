// kestal-sim compare and batch: their JSON contracts, exit statuses and refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "CommandCall.h"
#include "cli/BatchCommand.h"
#include "cli/CompareCommand.h"
#include "common/Text.h"

using namespace kestal;

namespace {

const std::string Revised = KESTAL_SOURCE_DIR "/examples/workplace-revised.kestal";
const std::string EnterpriseCsv = KESTAL_SOURCE_DIR "/examples/enterprise.csv";
const std::string EnterpriseXlsx = KESTAL_SOURCE_DIR "/examples/enterprise.xlsx";

TEST(CompareCommand, JsonListsTheDifferingFactorsAddingUpToTheDifference)
{
    const Outcome same = Call(CompareCommand, {ExampleProject, ExampleProject, "--format", "json"});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_TRUE(std::regex_match(same.out,
                                 std::regex(R"re(\{"a":\{"file":"[^"]+","accident":[0-9.e-]+\},"b":\{"file":"[^"]+",)re"
                                            R"re("accident":[0-9.e-]+\},"difference":0,"method":"exact","nodes":\[)re"
                                            R"re((\{"node":"[B-I]","a":[0-9.e-]+,"b":[0-9.e-]+\},?){8}\],)re"
                                            R"re("contributions":\[\]\}\n)re")))
        << same.out;

    const Outcome json = Call(CompareCommand, {ExampleProject, Revised, "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    // The six changed factors, |contribution| largest first, with the levels of both files.
    const std::regex entry(
        R"re(\{"factor":"([A-Z][0-9]{2})","from":([0-9]+),"to":([0-9]+),"contribution":[-0-9.e]+,"error":0\})re");
    std::string listed;
    for (auto it = std::sregex_iterator(json.out.begin(), json.out.end(), entry); it != std::sregex_iterator(); ++it)
        listed += (*it)[1].str() + ":" + (*it)[2].str() + ">" + (*it)[3].str() + " ";
    EXPECT_EQ(listed, "M03:8>5 H12:3>7 H04:6>4 T04:8>6 C01:3>6 H01:7>9 ");
    const auto contributions = Numbers(json.out, "contribution");
    const long double difference = Numbers(json.out, "difference").at(0);
    long double sum = 0;
    for (const long double c : contributions) sum += c;
    EXPECT_NEAR(sum, difference, 1e-12L * std::fabs(difference));
    const auto accident = Numbers(json.out, "accident");
    EXPECT_NEAR(difference, accident.at(1) - accident.at(0), 1e-15L * std::fabs(difference));
}

// A file named by bytes that are not UTF-8 is named in the JSON with U+FFFD: the output stays UTF-8.
TEST(CompareCommand, JsonStaysUtf8WhateverTheFileIsNamed)
{
    const std::string odd = "\xd1\x86\xd0\xb5\xd1\x85-\xff.kestal";
    std::filesystem::copy_file(ExampleProject, odd, std::filesystem::copy_options::overwrite_existing);
    const Outcome json = Call(CompareCommand, {odd, ExampleProject, "--format", "json"});
    std::filesystem::remove(odd);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(InvalidUtf8Offset(json.out), std::string::npos);
    EXPECT_NE(json.out.find("{\"a\":{\"file\":\"\xd1\x86\xd0\xb5\xd1\x85-\xef\xbf\xbd.kestal\","), std::string::npos)
        << json.out;
}

TEST(CompareCommand, Refusals)
{
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{ExampleProject}, "kestal-sim compare: expected two project files A and B, got 1\n"},
        {{ExampleProject, Revised, "--format", "csv"}, "kestal-sim compare: --format 'csv': expected table or json\n"},
        {{ExampleProject, "missing.kestal"}, ""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Call(CompareCommand, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        if (!c.err.empty())
            EXPECT_EQ(outcome.err, c.err);
        else
            EXPECT_EQ(outcome.err.rfind("kestal-sim compare: Файл «missing.kestal» не открыт", 0), 0u) << outcome.err;
    }
}

TEST(BatchCommand, ExitStatusesAndTheJsonContract)
{
    const std::string bad = "batch_test.csv", noFactor = "batch_nofactor.csv";
    std::ofstream(bad) << "name,H01,M03\nЦех 1,3,4\nЦех 2,3,0\nЦех 3,,\nЦех 4,1,x\n";
    std::ofstream(noFactor) << "name;Цех\nа;б\n";
    const std::string badLine =
        "kestal-sim batch: batch_test.csv: строка 3, столбец M03: «0» — не номер уровня от 1 до 11\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;  // exactly, or its beginning when it ends with "…"
    } cases[] = {
        {{EnterpriseCsv, "--format", "json"}, 0, ""},
        {{EnterpriseXlsx, "--format", "csv", "--no-importance"}, 0, ""},
        {{bad, "--format", "json", "--no-importance"},
         3,
         badLine + "kestal-sim batch: batch_test.csv: строка 5, столбец M03: «x» — не номер уровня от 1 до 11\n"},
        {{noFactor},
         2,
         "kestal-sim batch: batch_nofactor.csv: строка заголовка не называет ни одного фактора (H01 … T06)\n"},
        {{"missing.csv"}, 2, "kestal-sim batch: Файл «missing.csv» не прочитан: файл не открывается\n"},
        {{bad, "--format", "xlsx"}, 2, "kestal-sim batch: --format 'xlsx': expected table, csv or json\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Call(BatchCommand, c.args);
        EXPECT_EQ(outcome.status, c.status) << c.args[0];
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_EQ(outcome.out.empty(), c.status == 2);
    }
    const Outcome json = Call(BatchCommand, {bad, "--format", "json"});
    EXPECT_TRUE(std::regex_match(
        json.out,
        std::regex(
            R"re(\{"workplaces":\[\{"row":2,"name":"Цех 1","nodes":\[([0-9.e-]+,){7}[0-9.e-]+\],"accident":[0-9.e-]+,)re"
            R"re("rank":[12],"top_factors":\["[A-Z][0-9]{2}","[A-Z][0-9]{2}","[A-Z][0-9]{2}"\]\},)re"
            R"re(\{"row":4,"name":"Цех 3",.*"top_factors":\[("[A-Z][0-9]{2}",?){3}\]\}\],)re"
            R"re("errors":\[\{"row":3,"column":"M03","problem":"«0» — не номер уровня от 1 до 11"\},)re"
            R"re(\{"row":5,"column":"M03","problem":"«x» — не номер уровня от 1 до 11"\}\]\}\n)re")))
        << json.out;
    // The same workplaces from the CSV and the XLSX book.
    EXPECT_EQ(Call(BatchCommand, {EnterpriseCsv, "--format", "json"}).out,
              Call(BatchCommand, {EnterpriseXlsx, "--format", "json"}).out);
    std::remove(bad.c_str());
    std::remove(noFactor.c_str());
}

}  // namespace
