// What every view of the page "Анализ" does: it catches up when shown.
#include "Main_U/AnalysisViews.h"

#include "Widgets/Guard.h"

void AnalysisView::Show()
{
    if (isVisible()) Refresh();
}

void AnalysisView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Guarded(this, [this] { Refresh(); });
}
