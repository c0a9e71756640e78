// A summary of many workplaces: reading their rows, assessing them on every core, ranking them.
#include "analysis/WorkplaceSummary.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>

#include "analysis/FactorImportance.h"
#include "common/KestalError.h"
#include "factors/Settings.h"

namespace kestal {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Blanks (and no-break spaces, U+00A0) at both ends dropped.
std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    for (;;) {
        if (begin < end && IsBlank(text[begin]))
            ++begin;
        else if (end - begin >= 2 && text.compare(begin, 2, "\xC2\xA0") == 0)
            begin += 2;
        else
            break;
    }
    for (;;) {
        if (end > begin && IsBlank(text[end - 1]))
            --end;
        else if (end - begin >= 2 && text.compare(end - 2, 2, "\xC2\xA0") == 0)
            end -= 2;
        else
            break;
    }
    return text.substr(begin, end - begin);
}

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsNameHeader(const std::string& header)
{
    return AsciiUpper(header) == "NAME" || header == "Рабочее место" || header == "рабочее место" ||
           header == "РАБОЧЕЕ МЕСТО";
}

// "A" .. "Z", "AA" ..: how a spreadsheet names the column of 0-based index `column`.
std::string ColumnLetters(std::size_t column)
{
    std::string letters;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

// The list item (0 .. 10) of a level cell, or nothing when it is no level number 1 .. 11.
std::optional<int> LevelItem(const std::string& cell)
{
    std::size_t digits = 0;
    while (digits < cell.size() && cell[digits] >= '0' && cell[digits] <= '9') ++digits;
    if (digits == 0 || digits > 2) return std::nullopt;
    if (digits < cell.size()) {
        if (cell[digits] != '.' && cell[digits] != ',') return std::nullopt;
        if (!std::all_of(cell.begin() + digits + 1, cell.end(), [](char c) { return c == '0'; })) return std::nullopt;
    }
    const int number = std::stoi(cell.substr(0, digits));
    if (number < 1 || number > LevelCount) return std::nullopt;
    return number - 1;
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

}  // namespace

WorkplaceList ReadWorkplaces(const std::vector<std::vector<std::string>>& cells)
{
    if (cells.empty()) throw KestalError("в таблице нет строки заголовка");
    std::vector<const FactorInfo*> factorOf(cells[0].size(), nullptr);
    std::optional<std::size_t> nameColumn;
    std::array<std::optional<std::size_t>, FactorCount> columnOf{};
    for (std::size_t column = 0; column < cells[0].size(); ++column) {
        const std::string header = Trimmed(cells[0][column]);
        if (IsNameHeader(header)) {
            if (nameColumn)
                throw KestalError("столбцы " + ColumnLetters(*nameColumn) + " и " + ColumnLetters(column) +
                                  " оба названы как столбец названия рабочего места");
            nameColumn = column;
        } else if (const FactorInfo* factor = FindFactor(AsciiUpper(header))) {
            std::optional<std::size_t>& known = columnOf[CatalogueIndex(*factor)];
            if (known)
                throw KestalError("столбцы " + ColumnLetters(*known) + " и " + ColumnLetters(column) + " оба названы " +
                                  factor->id);
            known = column;
            factorOf[column] = factor;
        }
    }
    if (std::none_of(columnOf.begin(), columnOf.end(), [](const auto& c) { return c.has_value(); }))
        throw KestalError("строка заголовка не называет ни одного фактора (H01 … T06)");

    const NetworkInputs initial = InitialInputs();
    WorkplaceList list;
    for (std::size_t r = 1; r < cells.size(); ++r) {
        const std::vector<std::string>& row = cells[r];
        if (std::all_of(row.begin(), row.end(), [](const std::string& cell) { return Trimmed(cell).empty(); }))
            continue;
        Workplace workplace{r + 1, nameColumn && *nameColumn < row.size() ? Trimmed(row[*nameColumn]) : "", initial};
        std::optional<WorkplaceRefusal> refusal;
        for (std::size_t column = 0; column < row.size() && column < factorOf.size() && !refusal; ++column) {
            const FactorInfo* factor = factorOf[column];
            if (!factor) continue;
            const std::string cell = Trimmed(row[column]);
            if (cell.empty()) continue;
            if (const std::optional<int> item = LevelItem(cell))
                workplace.inputs.slot[factor->slot] = LevelTable[*item].value;
            else
                refusal = WorkplaceRefusal{r + 1, factor->id, Quoted(cell) + " — не номер уровня от 1 до 11"};
        }
        if (refusal)
            list.errors.push_back(*refusal);
        else
            list.workplaces.push_back(std::move(workplace));
    }
    return list;
}

WorkplaceAssessment AssessWorkplace(const NetworkInputs& inputs, bool importance)
{
    WorkplaceAssessment assessed;
    if (importance) {
        const std::array<FactorReduction, FactorCount> ranked = RankFactorReductions(inputs);
        for (int i = 0; i < TopFactorCount; ++i) assessed.top[i] = ranked[i].factor;
    }
    assessed.nodes = ExactNodeProbabilities(inputs);
    return assessed;
}

std::optional<std::vector<WorkplaceAssessment>> AssessWorkplaces(const std::vector<Workplace>& workplaces,
                                                                 bool importance, const WorkplaceProgress& progress,
                                                                 unsigned threads)
{
    const std::size_t total = workplaces.size();
    std::vector<WorkplaceAssessment> assessed(total);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;  // under the mutex
    // Every thread takes the next workplace until none is left or a stop was asked for.
    const auto assessNext = [&] {
        const std::size_t i = stop ? total : next.fetch_add(1);
        if (i >= total) return false;
        assessed[i] = AssessWorkplace(workplaces[i].inputs, importance);
        {
            const std::lock_guard lock(mutex);
            ++done;
        }
        finished.notify_one();
        return true;
    };
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads && t < total; ++t)
        helpers.emplace_back([&] {
            while (assessNext()) {}
        });
    std::exception_ptr failure;
    // The calling thread works too while there is work to take, then waits for the helpers; either
    // way it reports every count, whoever assessed the workplace, so a stop is seen at the same
    // count however the threads shared the rows.
    try {
        for (std::size_t reported = 0; reported < total && !stop;) {
            if (!assessNext()) {
                std::unique_lock lock(mutex);
                finished.wait(lock, [&] { return done > reported; });
            }
            std::size_t count;
            {
                const std::lock_guard lock(mutex);
                count = done;
            }
            for (; reported < count && !stop; ++reported)
                if (progress && !progress(reported + 1, total)) stop = true;
        }
    } catch (...) {
        stop = true;
        failure = std::current_exception();
    }
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
    if (stop) return std::nullopt;

    std::vector<std::size_t> order(total);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return assessed[x].nodes.node[NodeI] > assessed[y].nodes.node[NodeI];
    });
    for (std::size_t place = 0; place < total; ++place) assessed[order[place]].rank = static_cast<int>(place + 1);
    return assessed;
}

}  // namespace kestal
