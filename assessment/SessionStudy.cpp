// The session's measure study and the two views of its totals table.
#include "assessment/Session.h"

#include <utility>

namespace kestal {

MeasureStudy Session::PrepareStudy() const { return state_.assessment.PrepareStudy(*clock_); }

void Session::CommitStudy(MeasureStudy&& study)
{
    LearnLoad(study.timing);
    const Budget budget = study.budget;
    const std::string damageText = study.damageText;
    state_.assessment.CommitStudy(std::move(study));
    StudyOutcome& outcome = state_.shown.study;
    outcome.listing = StudyListing(assessment().measures, budget, displayLocale_);
    outcome.totalsShown = true;
    outcome.detailed = false;
    outcome.totalsBudget = budget;
    outcome.moneyLabel = TotalMoneyLabel(budget.text);
    outcome.damageLabel = TotalDamageLabel(damageText);
    state_.shown.editorEnabled = false;
    state_.shown.studyReady = false;
}

void Session::Study(const WorkControl& control)
{
    MeasureStudy study = PrepareStudy();
    study.Execute(control);
    CommitStudy(std::move(study));
}

void Session::ShowTotals(bool detailed)
{
    const Budget budget{assessment().BudgetAmount().Number(), assessment().budgetText};
    StudyOutcome& study = state_.shown.study;
    study.totalsBudget = budget;
    study.moneyLabel = TotalMoneyLabel(budget.text);
    study.detailed = detailed;
}

TotalsView Session::Totals() const
{
    const StudyOutcome& study = state_.shown.study;
    const MeasureTables& measures = assessment().measures;
    return study.detailed ? DetailedTotals(measures, study.totalsBudget, displayLocale_)
                          : CompactTotals(measures, study.totalsBudget, displayLocale_);
}

}  // namespace kestal
