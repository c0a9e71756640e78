// The page "Анализ": its three views on tabs and the accident probability of the status bar.
#include "Main_U/AnalysisPage.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Analysis/AnalysisTexts.h"
#include "Main_U/AnalysisViews.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"

AnalysisPage::AnalysisPage(const Session& session) : session_(session)
{
    setObjectName(QStringLiteral("tsAnalysis"));
    accident_ = new QLabel;
    accident_->setObjectName(QStringLiteral("lbExactAccident"));
    accident_->setToolTip(QStringLiteral("Точная вероятность происшествия при текущих оценках факторов"));
    accident_->setContentsMargins(8, 0, 8, 0);
    views_ = new QTabWidget(this);
    views_->setObjectName(QStringLiteral("pcAnalysis"));
    views_->setUsesScrollButtons(false);
    nodes_ = new NodesView(session);
    importance_ = new ImportanceView(session);
    bestSet_ = new BestSetView(session);
    views_->addTab(nodes_, QStringLiteral("Узлы сети"));
    views_->addTab(importance_, QStringLiteral("Важность факторов"));
    views_->addTab(bestSet_, QStringLiteral("Лучший набор мер"));
    connect(importance_, &ImportanceView::factorChosen, this, &AnalysisPage::factorChosen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(views_);
}

void AnalysisPage::Show()
{
    const NetworkInputs ratings = session_.RatingInputs();
    if (accidentShown_ != ratings) {
        accident_->setText(Q(AccidentStatusText(ExactNodeProbabilities(ratings), UiNumberLocale())));
        accidentShown_ = ratings;
    }
    nodes_->Show();
    importance_->Show();
    bestSet_->Show();
}
