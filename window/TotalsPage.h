// The page "Итоги": the totals table of the study, the budget and damage labels and the buttons that
// show more or fewer columns. It shows a session and sends the buttons' presses up.
#pragma once

#include <QWidget>

#include <vector>

#include "assessment/Session.h"

class QLabel;
class QPushButton;

namespace kestal {

class Grid;

class TotalsPage : public QWidget {
    Q_OBJECT
public:
    explicit TotalsPage(QWidget* parent);

    // Brings the page in line with the session's study; a hidden page keeps its table as it was.
    void Show(const Session& session);
    // Forgets what was shown of an earlier session: the table starts empty.
    void Forget();

signals:
    // "Больше" (true) or "Меньше" (false).
    void detailRequested(bool detailed);

private:
    Grid* sgTotal = nullptr;          // the ranked combinations
    QLabel* lbTotalMoney = nullptr;   // the budget they were judged against
    QLabel* lbTotDamage = nullptr;    // the damage
    QPushButton* buttMore = nullptr;  // "Больше": the detailed view
    QPushButton* buttLess = nullptr;  // "Меньше": the compact view
    std::vector<GridCell> totalsShown_;
};

}  // namespace kestal
