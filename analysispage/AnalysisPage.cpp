// The page "Анализ": its three views on tabs and the accident probability of the status bar.
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

namespace {

// A view that scrolls within its tab when the window is smaller than the view needs: the page asks
// no more room of the window than the other pages do.
QScrollArea* Scrolling(QWidget* view)
{
    auto* area = new QScrollArea;
    area->setObjectName(view->objectName() + QStringLiteral("Scroll"));
    area->setFrameStyle(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(view);
    return area;
}

}  // namespace

AnalysisPage::AnalysisPage(const Session& session) : session_(session)
{
    setObjectName(QStringLiteral("tsAnalysis"));
    accident_ = new QLabel;
    accident_->setObjectName(QStringLiteral("lbExactAccident"));
    accident_->setToolTip(QStringLiteral("Точная вероятность происшествия при текущих оценках факторов"));
    accident_->setContentsMargins(8, 0, 8, 0);
    auto* views = new QTabWidget(this);
    views->setObjectName(QStringLiteral("pcAnalysis"));
    views->setUsesScrollButtons(false);
    nodes_ = new NodesView(session);
    importance_ = new ImportanceView(session);
    bestSet_ = new BestSetView(session);
    views->addTab(Scrolling(nodes_), QStringLiteral("Узлы сети"));
    views->addTab(Scrolling(importance_), QStringLiteral("Важность факторов"));
    views->addTab(Scrolling(bestSet_), QStringLiteral("Лучший набор мер"));
    plan_ = new PlanView(session);
    views->addTab(Scrolling(plan_), QStringLiteral("План"));
    experts_ = new ExpertPanelView(session);
    views->addTab(Scrolling(experts_), QStringLiteral("Эксперты"));
    connect(importance_, &ImportanceView::factorChosen, this, &AnalysisPage::factorChosen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(views);
}

void AnalysisPage::Show()
{
    const NetworkInputs ratings = session_.assessment().RatingInputs();
    if (accidentShown_ != ratings) {
        accident_->setText(QText(AccidentStatusText(ExactNodeProbabilities(ratings), UiNumberLocale())));
        accidentShown_ = ratings;
    }
    nodes_->Show();
    importance_->Show();
    bestSet_->Show();
    plan_->Show();
    experts_->Show();
}

}  // namespace kestal
