// What every view of the page "Анализ" does: it catches up when shown.
#include "analysispage/AnalysisView.h"

#include "widgets/Guard.h"

namespace kestal {

void AnalysisView::Show()
{
    if (isVisible()) Refresh();
}

void AnalysisView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Guarded(this, [this] { Refresh(); });
}

}  // namespace kestal
