// The page "Анализ": the exact analysis of the session in tables and pictures, and the exact
// accident probability for the status bar.
#pragma once

#include <QWidget>

#include <optional>

#include "assessment/Session.h"

class QLabel;

namespace kestal {

class BestSetView;
class ExpertPanelView;
class PlanView;
class ImportanceView;
class NodesView;

class AnalysisPage : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisPage(const Session& session);

    // The exact accident probability of the current ratings, for the status bar's right side.
    QLabel* AccidentLabel() const { return accident_; }
    // Brings the page in line with the session: the accident label always, each view while shown.
    void Show();

signals:
    // A factor's bar or row was clicked: its catalogue index.
    void factorChosen(int factor);

private:
    const Session& session_;
    std::optional<NetworkInputs> accidentShown_;
    QLabel* accident_;
    NodesView* nodes_;
    ImportanceView* importance_;
    BestSetView* bestSet_;
    ExpertPanelView* experts_;
    PlanView* plan_;
};

}  // namespace kestal
