// The main window's pages' actions brought to the session, the modeling run and the study in the
// background, the about box and the questionnaire.
#include "window/TFormKestal.h"

#include <QProgressBar>
#include <QStatusBar>

#include <memory>
#include <utility>

#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TAboutBox.h"
#include "window/TFormSimpleDo.h"
#include "window/TotalsPage.h"
#include "analysispage/AnalysisPage.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

void TFormKestal::ShowAbout() { (new TAboutBox(this))->show(); }

void TFormKestal::OpenQuestionnaire()
{
    (new TFormSimpleDo(this, [this](const QuestionnaireAnswers& answers) {
        ActOnSession([&] { session_.assessment().ApplyQuestionnaire(answers); });
    }))->show();
}

void TFormKestal::ActOnSession(const std::function<void()>& action, const std::string& name)
{
    Guarded(this, action);
    if (!name.empty()) changeName_ = name;
    ShowSession();
    ShowTitle();
}

void TFormKestal::ConnectPages()
{
    connect(modeling_, &ModelingPage::levelChosen, this,
            [this](int factor, int item) { ActOnSession([&] { session_.SelectLevel(factor, item); }); });
    connect(modeling_, &ModelingPage::runRequested, this, [this] { RunModeling(); });
    connect(modeling_, &ModelingPage::questionnaireRequested, this, Guard(this, [this] { OpenQuestionnaire(); }));
    connect(analysis_, &AnalysisPage::factorChosen, this,
            [this](int factor) { Guarded(this, [&] { ShowFactorPanel(factor); }); });
    // K and N are one pair, typed on either page.
    const auto setK = [this](const QString& text) { ActOnSession([&] { session_.SetKText(Utf8(text)); }); };
    const auto setN = [this](const QString& text) { ActOnSession([&] { session_.SetNText(Utf8(text)); }); };
    connect(modeling_, &ModelingPage::kEdited, this, setK);
    connect(modeling_, &ModelingPage::nEdited, this, setN);
    connect(measures_, &MeasurePage::kEdited, this, setK);
    connect(measures_, &MeasurePage::nEdited, this, setN);
    connect(measures_, &MeasurePage::factorChosen, this,
            [this](int factor) { ActOnSession([&] { session_.SelectMeasureFactor(factor); }); });
    connect(measures_, &MeasurePage::barMoved, this,
            [this](int factor, int position) { ActOnSession([&] { session_.MoveBar(factor, position); }); });
    connect(measures_, &MeasurePage::barEntered, this,
            [this](int factor) { ActOnSession([&] { session_.EnterBar(factor); }); });
    connect(measures_, &MeasurePage::barLeft, this,
            [this](int factor) { ActOnSession([&] { session_.ExitBar(factor); }); });
    connect(measures_, &MeasurePage::nameEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetMeasureName(Utf8(text)); }); });
    connect(measures_, &MeasurePage::costEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetCostText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::budgetEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetBudgetText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::damageEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetDamageText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::captureRequested, this, [this] { ActOnSession([this] { session_.Capture(); }); });
    connect(measures_, &MeasurePage::resetRequested, this,
            [this] { ActOnSession([this] { session_.ResetMeasures(); }); });
    connect(measures_, &MeasurePage::studyRequested, this, [this] { RunStudy(); });
    connect(totals_, &TotalsPage::detailRequested, this,
            [this](bool detailed) { ActOnSession([&] { session_.ShowTotals(detailed); }); });
    analysis_->SetPlanCapture([this](const PlanResult& plan) {
        ActOnSession([&] { CapturePlanAsMeasure(session_, plan, UiNumberLocale()); });
    });
    analysis_->SetEdit(
        [this](const std::function<void(Session&)>& action) { ActOnSession([&] { action(session_); }); });
}

void TFormKestal::RunModeling()
{
    if (Working()) return;  // one piece of work at a time
    // The run is checked and taken off the session before anything shows that it started.
    auto run = std::make_shared<ModelingRun>();
    if (!Guarded(this, [&] { *run = session_.PrepareRun(); })) return;
    modeling_->RunStarted(run->series.ExperimentCount);
    StartWork();
    work_->Start([run](const WorkControl& control) { run->Execute(control); },
                 [this, run](BackgroundWork::Outcome outcome, const QString& error) {
                     EndWork();
                     const bool finished = outcome == BackgroundWork::Outcome::Completed;
                     modeling_->RunEnded(finished);
                     if (finished)
                         ActOnSession([&] { session_.CommitRun(std::move(*run)); });
                     else
                         ShowSession();
                     if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
                 });
}

void TFormKestal::RunStudy()
{
    if (Working()) return;  // one piece of work at a time
    // Refusals and unreadable numbers stop the study before anything changes.
    auto study = std::make_shared<MeasureStudy>();
    if (!Guarded(this, [&] { *study = session_.PrepareStudy(); })) return;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    StartWork();
    work_->Start(
        [study](const WorkControl& control) { study->Execute(control); },
        [this, study](BackgroundWork::Outcome outcome, const QString& error) {
            ProgressBar1->hide();
            ProgressBar1->setValue(0);
            EndWork();
            // A study that fails or is stopped leaves listing, totals and store as they were.
            if (outcome == BackgroundWork::Outcome::Completed) {
                ActOnSession([&] { session_.CommitStudy(std::move(*study)); });
            } else {
                if (outcome == BackgroundWork::Outcome::Stopped)
                    statusBar()->showMessage(QStringLiteral("Расчёт комплекса мер остановлен: результаты прежние."));
                ShowSession();
            }
            if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
        });
}

}  // namespace kestal
