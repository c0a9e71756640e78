// The page "Анализ": its views on tabs and the accident probability of the status bar.
#include "analysispage/AnalysisPage.h"

#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/AnalysisTexts.h"
#include "analysispage/AnalysisViews.h"
#include "analysispage/ExpertPanelView.h"
#include "analysispage/PlanView.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

AnalysisPage::AnalysisPage(const Session& session) : session_(session)
{
    setObjectName(QStringLiteral("tsAnalysis"));
    accident_ = new QLabel;
    accident_->setObjectName(QStringLiteral("lbExactAccident"));
    accident_->setToolTip(QStringLiteral("Точная вероятность происшествия при текущих оценках факторов"));
    accident_->setContentsMargins(8, 0, 8, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pcAnalysis"));
    tabs_->setUsesScrollButtons(false);
    AddTab(new NodesView(session), QStringLiteral("Узлы сети"));
    const ImportanceView* importance = AddTab(new ImportanceView(session), QStringLiteral("Важность факторов"));
    AddTab(new BestSetView(session), QStringLiteral("Лучший набор мер"));
    plan_ = AddTab(new PlanView(session), QStringLiteral("План"));
    experts_ = AddTab(new ExpertPanelView(session), QStringLiteral("Эксперты"));
    connect(importance, &ImportanceView::factorChosen, this, &AnalysisPage::factorChosen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(tabs_);
}

template <class View>
View* AnalysisPage::AddTab(View* view, const QString& title)
{
    // The page asks no more room of the window than the other pages do.
    auto* area = new QScrollArea;
    area->setObjectName(view->objectName() + QStringLiteral("Scroll"));
    area->setFrameStyle(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(view);
    tabs_->addTab(area, title);
    views_.push_back(view);
    return view;
}

void AnalysisPage::SetEdit(const SessionEdit& edit)
{
    plan_->SetEdit(edit);
    experts_->SetEdit(edit);
}

void AnalysisPage::SetPlanCapture(std::function<void(const PlanResult& plan)> capture)
{
    plan_->SetCapture(std::move(capture));
}

void AnalysisPage::Show()
{
    const NetworkInputs ratings = session_.assessment().RatingInputs();
    if (accidentShown_ != ratings) {
        accident_->setText(QText(AccidentStatusText(ExactNodeProbabilities(ratings), UiNumberLocale())));
        accidentShown_ = ratings;
    }
    for (AnalysisView* view : views_) view->Show();
}

}  // namespace kestal
