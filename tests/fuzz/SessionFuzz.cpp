// kestal-session-fuzz: seeded random sequences of the session's operations, as the windows and
// kestal-sim call them; nothing may crash, throw anything but the system's message, or break the
// analysis's invariants.
//
//   kestal-session-fuzz [STEPS [SEED]]     (20000, 1)
//
// A sequence of 200 steps starts from a fresh session; each sequence is reproducible from SEED and
// its number alone. A failing step prints its sequence, its number and the operations that led to it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis/AnalysisTexts.h"
#include "project/ProjectFile.h"
#include "report/Report.h"
#include "assessment/Session.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

constexpr uint64_t StepsPerSequence = 200;
// The best set is judged only up to this many measures, so that a step stays short (from 8 on it
// shares its subsets with a second thread).
constexpr int MostMeasuresJudged = 8;

using Random = std::mt19937_64;

uint64_t Below(Random& random, uint64_t bound) { return bound == 0 ? 0 : random() % bound; }

template <class T>
const T& OneOf(Random& random, const std::vector<T>& values)
{
    return values[Below(random, values.size())];
}

// Texts typed into the K, N and money fields: numbers in and out of range, in both notations, and
// texts that are no number.
const std::vector<std::string> CountTexts = {"1",          "2", "5", "20",  "0",   "-1",  "2000", "2001", "2147483647",
                                             "2147483648", "",  " ", "abc", "1,5", "1.5", "1e3",  "+3",   "007"};
const std::vector<std::string> MoneyTexts = {"1500",  "1", "0",   "-5",  "0,5",   "1e300",  "1e5000", "99999999999",
                                             "много", "",  "450", "700", "1 000", "3,4E38", "1E-4000"};
const std::vector<std::string> UsableMoneyTexts = {"1500", "1", "450", "10000000", "1e300", "0,5", "2500"};
const std::vector<std::string> NameTexts = {
    "Обучение", "", "   ", "<b>&\"'</b>", "Мера " + std::string(300, 'x'), "Ограждение опасной зоны", "A;B", "\xD0"};

struct Failure {
    std::string what;
};

void Require(bool condition, const std::string& what)
{
    if (!condition) throw Failure{what};
}

// What the analysis must hold for any state.
void CheckAnalysis(const Session& session)
{
    const NodeProbabilities exact = session.assessment().ExactNodes();
    for (const long double p : exact.node) Require(p >= 0.0L && p <= 1.0L, "a probability outside 0..1");
    Require(std::fabs(exact.node[NodeB] + exact.node[NodeC] - 1.0L) < 1e-15L, "P(B) + P(C) is not 1");
    const std::optional<JudgedRun> run = session.assessment().JudgedLastRun();
    Require(run.has_value() == !session.assessment().results.empty(), "a judged run without a run");
    if (run) {
        Require(run->ratingsChanged == session.assessment().RatingsChangedSinceRun(),
                "the run's ratings judged twice apart");
        Require(run->exact.node == ExactNodeProbabilities(session.assessment().results.back().inputs).node,
                "a run judged against other ratings");
        const RunPrecision& precision = run->precision;
        if (precision.initiationsForOnePercent)
            Require(*precision.initiationsForOnePercent <= 2147483647.0L &&
                        *precision.initiationsForOnePercent * run->k <= precision.generatorLimit,
                    "advice beyond the generator's reach");
    }
}

// What the best set must hold: every subset once, doing nothing among them; nothing recommended
// that raises the accident probability or exceeds the budget, and nothing better left out.
void CheckBestSet(const Session& session)
{
    if (session.assessment().measures.MeasureCount > MostMeasuresJudged ||
        !session.assessment().BestMeasuresProblem().empty())
        return;
    const MeasureOptimum optimum = session.assessment().PrepareBestMeasures().Execute();
    const std::size_t count = std::size_t{1} << session.assessment().measures.MeasureCount;
    Require(optimum.subsets.size() == count, "not every subset judged");
    const MeasureSubset* none = nullptr;
    const MeasureSubset* best = nullptr;
    for (const MeasureSubset& subset : optimum.subsets) {
        if (subset.members == 0) none = &subset;
        if (optimum.best == subset.members) best = &subset;
        Require(subset.harmful == (subset.accident > optimum.baseline), "a harmful mark that does not hold");
    }
    Require(none && none->pareto && none->benefit == 0.0L, "doing nothing is not on the frontier");
    Require(optimum.best.has_value() == (best != nullptr), "a best set that is not a subset");
    Require(optimum.best.has_value() == (optimum.reason == NoBestSet::None), "a best set and a reason");
    for (const MeasureSubset& subset : optimum.subsets) {
        if (!subset.withinBudget || subset.accident >= optimum.baseline) continue;
        Require(best != nullptr, "a helpful set within the budget, and nothing recommended");
        Require(best->benefit >= subset.benefit, "a better set within the budget left out");
    }
    if (best) Require(!best->harmful && best->withinBudget && best->accident < optimum.baseline, "a bad best set");
}

class Sequence {
public:
    Sequence(uint64_t seed, uint64_t number)
        : random_(seed * 1'000'003 + number), session_(&clock_, RussianNumberLocale(), RussianNumberLocale())
    {}

    // One random operation; the system's message is allowed and then nothing may have changed.
    void Step(std::vector<std::string>& log)
    {
        clock_.reading = static_cast<int32_t>(Below(random_, 86'400'000));
        const auto& [name, operation] = operations_[Below(random_, operations_.size())];
        log.push_back(name);
        snapshots_.push_back(session_.state());
        operation(*this, log.back());
        CheckAnalysis(session_);
    }

    std::map<std::string, uint64_t> refusals;
    std::map<std::string, uint64_t> done;

private:
    // An action the user takes (run, study, capture, totals, open): the system's message is
    // allowed, and then nothing may have changed.
    template <class Action>
    void Refusable(const std::string& name, Action action)
    {
        const SessionState before = session_.state();
        try {
            action();
            ++done[name];
        } catch (const KestalError&) {
            ++refusals[name];
            Require(session_.state() == before, "a refused " + name + " changed the state");
        }
    }

    using Operation = std::function<void(Sequence&, std::string&)>;

    int Factor() { return static_cast<int>(Below(random_, FactorCount)); }
    int Item() { return static_cast<int>(Below(random_, LevelCount)); }

    // Small K and N, so that a run or a study takes no time; sometimes the texts as they stand.
    void SmallRunSize(std::string& note)
    {
        if (Below(random_, 4) == 0) return;
        session_.SetKText(std::to_string(1 + Below(random_, 5)));
        session_.SetNText(std::to_string(1 + Below(random_, 60)));
        note += " K=" + session_.assessment().kText + " N=" + session_.assessment().nText;
    }
    bool RunSizeSmall() const
    {
        try {
            int64_t k = std::stoll(session_.assessment().kText), n = std::stoll(session_.assessment().nText);
            return k * n <= 2000;
        } catch (const std::exception&) {
            return true;  // refused before anything runs
        }
    }

    FixedClock clock_{36'000'000};
    Random random_;
    Session session_;

    const std::vector<std::pair<std::string, Operation>> operations_ = {
        {"SelectLevel",
         [](Sequence& s, std::string& note) {
             const int factor = s.Factor(), item = static_cast<int>(s.Below11()) - 1;
             note += " " + std::to_string(factor) + " " + std::to_string(item);
             s.session_.SelectLevel(factor, item);
         }},
        {"Activate", [](Sequence& s, std::string&) { s.session_.Activate(); }},
        {"SetKText",
         [](Sequence& s, std::string& note) {
             const std::string& text = OneOf(s.random_, CountTexts);
             note += " '" + text + "'";
             s.session_.SetKText(text);
             s.session_.RunEstimateText();
             s.session_.StudyEstimateText();
         }},
        {"SetNText",
         [](Sequence& s, std::string&) {
             s.session_.SetNText(OneOf(s.random_, CountTexts));
             s.session_.RunEstimateText();
             s.session_.StudyEstimateText();
         }},
        {"Run",
         [](Sequence& s, std::string& note) {
             s.SmallRunSize(note);
             if (s.RunSizeSmall()) s.Refusable("Run", [&] { s.session_.Run(); });
         }},
        {"MeasureBar",
         [](Sequence& s, std::string& note) {
             const int factor = s.Factor(), position = s.Item();
             note += " " + std::to_string(factor) + " " + std::to_string(position);
             s.session_.SelectMeasureFactor(factor);
             s.session_.EnterBar(factor);
             s.session_.MoveBar(factor, position);
             if (s.Below11() < 8) s.session_.ExitBar(factor);
         }},
        {"MeasureTexts",
         [](Sequence& s, std::string&) {
             s.session_.SetMeasureName(OneOf(s.random_, NameTexts));
             s.session_.SetCostText(OneOf(s.random_, MoneyTexts));
         }},
        {"BudgetDamage",
         [](Sequence& s, std::string&) {
             // Mostly amounts the best set takes, so that it is judged often.
             const bool usable = s.Below11() < 8;
             s.session_.SetBudgetText(OneOf(s.random_, usable ? UsableMoneyTexts : MoneyTexts));
             s.session_.SetDamageText(OneOf(s.random_, usable ? UsableMoneyTexts : MoneyTexts));
         }},
        {"Capture",
         [](Sequence& s, std::string&) {
             // As a user would: a name and a cost first, then a bar moved, then ">>".
             s.session_.SetMeasureName("Мера");
             s.session_.SetCostText(std::to_string(1 + s.Below11() * 100));
             const int factor = s.Factor();
             s.session_.SelectMeasureFactor(factor);
             s.session_.EnterBar(factor);
             s.session_.MoveBar(factor, s.Item());
             if (s.session_.CaptureButtonEnabled()) s.Refusable("Capture", [&] { s.session_.Capture(); });
         }},
        {"CaptureMany",
         [](Sequence& s, std::string&) {
             // Up to eight measures in a row, each on a free factor, so that the larger best sets come.
             for (int m = 0;
                  m < MostMeasuresJudged && s.session_.assessment().measures.MeasureCount < MostMeasuresJudged; ++m) {
                 const int factor = s.Factor();
                 const EditorRow& row = s.session_.state().Row(factor);
                 if (row.locked || !s.session_.state().shown.editorEnabled) continue;
                 s.session_.SetMeasureName("Мера " + std::to_string(m));
                 s.session_.SetCostText(std::to_string(1 + s.Below11() * 70));
                 s.session_.SelectMeasureFactor(factor);
                 s.session_.EnterBar(factor);
                 s.session_.MoveBar(factor, (row.currentItem + 1 + static_cast<int>(s.Below11() % 10)) % LevelCount);
                 if (s.session_.CaptureButtonEnabled()) s.Refusable("CaptureMany", [&] { s.session_.Capture(); });
             }
         }},
        {"CaptureDraft",
         [](Sequence& s, std::string& note) {
             // A measure from its data, as kestal-sim gives it: any factor and level, some out of range
             // or twice, the factors of captured measures among them.
             MeasureDraft draft{
                 OneOf(s.random_, NameTexts), ReadAmount(OneOf(s.random_, MoneyTexts), RussianNumberLocale()), {}};
             for (uint64_t n = Below(s.random_, 12); n > 0; --n)
                 draft.changes.push_back({static_cast<int>(Below(s.random_, FactorCount + 2)) - 1,
                                          static_cast<int>(Below(s.random_, LevelCount + 2)) - 1});
             note += " " + std::to_string(draft.changes.size());
             s.Refusable("CaptureDraft", [&] { s.session_.Capture(draft); });
         }},
        {"CaptureAsIs", [](Sequence& s, std::string&) { s.Refusable("CaptureAsIs", [&] { s.session_.Capture(); }); }},
        {"Reset", [](Sequence& s, std::string&) { s.session_.ResetMeasures(); }},
        {"Study",
         [](Sequence& s, std::string& note) {
             s.SmallRunSize(note);
             if (s.RunSizeSmall()) s.Refusable("Study", [&] { s.session_.Study(); });
         }},
        {"Totals",
         [](Sequence& s, std::string&) {
             const bool detailed = s.Below11() < 5;
             s.Refusable("ShowTotals", [&] { s.session_.ShowTotals(detailed); });
             s.session_.Totals();
         }},
        {"Analysis",
         [](Sequence& s, std::string&) {
             const NumberLocale locale = RussianNumberLocale();
             const Session& session = s.session_;
             ImportanceRows(session.assessment().Importance(), locale);
             const std::optional<JudgedRun> run = session.assessment().JudgedLastRun();
             NodeTable(session.assessment().ExactNodes(), run ? &*run : nullptr, locale);
             PrecisionLine(run ? &*run : nullptr, locale);
             CheckBestSet(session);
             if (session.assessment().measures.MeasureCount <= MostMeasuresJudged &&
                 session.assessment().BestMeasuresProblem().empty()) {
                 const MeasureOptimum optimum = session.assessment().PrepareBestMeasures().Execute();
                 ++s.done[session.assessment().measures.MeasureCount == MostMeasuresJudged ? "BestSet on two threads"
                                                                                           : "BestSet"];
                 BestSetLine(optimum, session.assessment().CapturedCandidates(), locale);
                 FrontierTable(optimum, session.assessment().CapturedCandidates(), locale);
             }
         }},
        {"Report",
         [](Sequence& s, std::string&) {
             if (s.session_.assessment().measures.MeasureCount <= MostMeasuresJudged)
                 ReportHtml(s.session_, {"07.12.2026 11:20", "", "", ""});
         }},
        {"SaveLoad",
         [](Sequence& s, std::string&) {
             const std::string written = ProjectJson(s.session_.state());
             SessionState state = ReadProject(written, "fuzz");
             Require(ProjectJson(state) == written, "a project read back differs");
             s.session_.Load(std::move(state));
         }},
        {"Restore",
         [](Sequence& s, std::string& note) {
             // Back to an earlier state, as undo and redo go: exactly it, down to the saved file.
             const std::size_t back = Below(s.random_, s.snapshots_.size());
             note += " " + std::to_string(back);
             const SessionState& snapshot = s.snapshots_[back];
             s.session_.Restore(snapshot);
             Require(s.session_.state() == snapshot && ProjectJson(s.session_.state()) == ProjectJson(snapshot),
                     "a restored state differs from its snapshot");
         }},
        {"Questionnaire",
         [](Sequence& s, std::string&) {
             QuestionnaireAnswers answers{};
             for (std::size_t n = 0; n < answers.size(); ++n) {
                 std::vector<uint8_t> offered;
                 for (uint8_t c = 0; c < 4; ++c)
                     if (OffersAnswer(static_cast<int>(n), c)) offered.push_back(c);
                 answers[n] = OneOf(s.random_, offered);
             }
             s.session_.assessment().ApplyQuestionnaire(answers);
             s.session_.Activate();
         }},
    };

    uint64_t Below11() { return Below(random_, 11); }
    // The state before each step of the sequence, oldest first.
    std::vector<SessionState> snapshots_;
};

}  // namespace

int main(int argc, char** argv)
{
    const uint64_t steps = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20'000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    std::map<std::string, uint64_t> refusals;
    std::map<std::string, uint64_t> completed;
    for (uint64_t number = 0, done = 0; done < steps; ++number) {
        Sequence sequence(seed, number);
        std::vector<std::string> log;
        try {
            for (uint64_t step = 0; step < StepsPerSequence && done < steps; ++step, ++done) sequence.Step(log);
        } catch (const Failure& failure) {
            std::cerr << "sequence " << number << " (seed " << seed << "), step " << log.size() - 1 << ": "
                      << failure.what << "\n";
            for (const std::string& operation : log) std::cerr << "  " << operation << "\n";
            return 1;
        } catch (const std::exception& error) {
            std::cerr << "sequence " << number << " (seed " << seed << "), step " << log.size() - 1
                      << ": unexpected exception: " << error.what() << "\n";
            for (const std::string& operation : log) std::cerr << "  " << operation << "\n";
            return 1;
        }
        for (const auto& [name, count] : sequence.refusals) refusals[name] += count;
        for (const auto& [name, count] : sequence.done) completed[name] += count;
    }
    std::cout << "steps " << steps << " (seed " << seed << ")\naction: done, refused with the system's message\n";
    for (const auto& [name, count] : completed)
        std::cout << "  " << name << ": " << count << ", " << refusals[name] << "\n";
    return 0;
}
