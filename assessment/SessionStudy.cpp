// The session's measure study and the two views of its totals table.
#include "assessment/Session.h"

#include <utility>

namespace kestal {

MeasureStudy Session::PrepareStudy() const { return state_.PrepareStudy(); }

void Session::CommitStudy(MeasureStudy&& study)
{
    LearnLoad(study.timing);
    const Budget budget = study.budget;
    const std::string damageText = study.damageText;
    state_.CommitStudy(std::move(study));
    StudyOutcome& outcome = state_.study;
    outcome.listing = StudyListing(state_.measures, budget, displayLocale_);
    outcome.totalsShown = true;
    outcome.detailed = false;
    outcome.totalsBudget = budget;
    outcome.moneyLabel = TotalMoneyLabel(budget.text);
    outcome.damageLabel = TotalDamageLabel(damageText);
    state_.editorEnabled = false;
    state_.studyReady = false;
}

void Session::Study(const WorkControl& control)
{
    MeasureStudy study = PrepareStudy();
    study.Execute(control);
    CommitStudy(std::move(study));
}

void Session::ShowTotals(bool detailed)
{
    const Budget budget{state_.BudgetAmount().Number(), state_.budgetText};
    state_.study.totalsBudget = budget;
    state_.study.moneyLabel = TotalMoneyLabel(budget.text);
    state_.study.detailed = detailed;
}

TotalsView Session::Totals() const
{
    const StudyOutcome& study = state_.study;
    return study.detailed ? DetailedTotals(state_.measures, study.totalsBudget, displayLocale_)
                          : CompactTotals(state_.measures, study.totalsBudget, displayLocale_);
}

}  // namespace kestal
