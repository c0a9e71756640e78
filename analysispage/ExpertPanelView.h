// The tab "Эксперты" of the page "Анализ": the assessment's expert panel as a grid of the factors
// against the experts, its agreement and consensus, and the band of the node probabilities over the
// experts' ratings, worked out on a worker thread.
#pragma once

#include <functional>
#include <optional>

#include "analysis/ExpertPanel.h"
#include "analysispage/AnalysisView.h"
#include "analysispage/PanelBandView.h"
#include "assessment/Session.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestal {

class PanelGrid;

class ExpertPanelView : public AnalysisView {
    Q_OBJECT
public:
    explicit ExpertPanelView(const Session& session);

    // How the view changes the session: the window runs the action on its session and shows it.
    void SetEdit(SessionEdit edit);

    // Reads the panel from a CSV file into the session; a bad file is refused with a message box and
    // nothing changed.
    void ImportFrom(const QString& path);
    // Writes the session's panel as CSV; a failure is shown in a message box.
    void ExportTo(const QString& path);
    // Waits for the band's work, if any, to end and shows what it found.
    void WaitForEnd() { band_->WaitForEnd(); }

    // What the band's work found, and what it was asked.
    using Result = PanelBandView::Result;
    const std::optional<Result>& Shown() const { return band_->Shown(); }

protected:
    // Brings the grid, the agreement and the note on the band in line with the session.
    void Refresh() override;

private:
    // Runs `change` on a copy of the session's panel and sets it in the session.
    void ChangePanel(const std::function<void(ExpertPanel&)>& change);
    void ShowGrid();
    void ShowAgreement();
    void ShowButtons();
    void AddExpert();
    void RemoveExpert();
    void RenameExpert();
    void ApplyConsensus();
    void ChooseImport();
    void ChooseExport();
    void Clear();

    SessionEdit edit_;
    std::optional<ExpertPanel> gridShown_;
    std::optional<NetworkInputs> ratingsShown_;
    PanelGrid* grid_;
    QComboBox* expert_;
    QLineEdit* name_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* rename_;
    QPushButton* import_;
    QPushButton* export_;
    QPushButton* clear_;
    QPushButton* apply_;
    QLabel* agreement_;
    PanelBandView* band_;
};

}  // namespace kestal
