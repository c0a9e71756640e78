// The session: an assessment and what the pages show of it side by side, the clock its runs read,
// the locales of the texts typed and written, and the operations of the pages. Each reads and checks
// all its texts first, then changes the state, or raises the system's message (KestalError) and
// changes nothing.
#pragma once

#include <optional>
#include <string>

#include "assessment/SessionState.h"
#include "assessment/Work.h"
#include "common/Clock.h"
#include "common/NumberLocale.h"

namespace kestal {

class Session {
public:
    // A session on `clock` (which must outlive it) with a new assessment. Texts the user types are
    // read with `inputLocale`; the texts the session writes (listing, totals) use `displayLocale`.
    Session(const Clock* clock, NumberLocale inputLocale, NumberLocale displayLocale);

    const SessionState& state() const { return state_; }
    const Assessment& assessment() const { return state_.assessment; }
    // The assessment, for its own operations, which the editor does not follow (the questionnaire,
    // the panel, the plan's inputs).
    Assessment& assessment() { return state_.assessment; }
    // An opened project: its state replaces the session's whole; the session keeps its clock, its
    // locales and its calibration. The amounts' texts and the measure tree are formed anew from the
    // amounts and the measures (FormDerivedParts in the session's input locale).
    void Load(SessionState state);
    // The state becomes exactly `snapshot`, one the session held before (undo, redo): nothing is
    // formed anew; the session keeps its clock, locales, calibration and load.
    void Restore(const SessionState& snapshot);
    const Clock& clock() const { return *clock_; }
    const NumberLocale& displayLocale() const { return displayLocale_; }

    // Start-up: the speed calibration under the initial ratings; it fills entries 0..10 of the series.
    void Calibrate();
    double CalibrationTime() const { return calibrationTime_; }
    // What the estimates scale the calibration's processor time by for the machine's load.
    double LoadFactor() const { return loadFactor_; }

    // ---- Ratings and run size ----
    // A factor's list picked item `item` (catalogue index `factor`): the level is applied and the
    // factor's bar on the measure page follows. A negative item (a typed text that names no item)
    // changes nothing.
    void SelectLevel(int factor, int item);
    // The main window became active: T03 takes the questionnaire's level.
    void Activate();
    // The K and N texts of either page; K and N are stored wherever their texts are integers.
    void SetKText(const std::string& text);
    void SetNText(const std::string& text);
    // "  " and the run's estimated time, or "—" while K or N is not an integer. The calibration's time
    // is scaled by what an initiation of the current ratings costs against one of the initial ratings.
    std::string RunEstimateText() const;
    // The study's estimate by the number of measures: zero time, the time of 4 or 8 runs, " Нызнаю";
    // empty until K, N or the measures first change and again after "Сброс".
    std::string StudyEstimateText() const;

    // ---- Modeling run ----
    // The run with the current ratings and run size on the session's clock (K and N checked).
    ModelingRun PrepareRun() const;
    // A finished run's results into the assessment; its times tell the estimates the machine's load.
    void CommitRun(ModelingRun&& run);
    // Prepare, execute and commit in one, on the calling thread.
    void Run(const WorkControl& control = {});

    // ---- Measure editor ----
    // Panel of `factor` clicked: selected, and a change node opened but unused goes. A locked panel,
    // or any panel while a study locks the editor, takes no click.
    void SelectMeasureFactor(int factor);
    // The factor's bar took / lost the focus: its change node opened / closed when it shows no change.
    void EnterBar(int factor);
    void ExitBar(int factor);
    // The user moved the factor's bar to `position` (0..10).
    void MoveBar(int factor, int position);
    void SetMeasureName(const std::string& text);
    void SetCostText(const std::string& text);
    void SetBudgetText(const std::string& text);
    void SetDamageText(const std::string& text);
    // Whether the pending measure changes anything: a factor whose bar stands away from its level
    // and that no captured measure holds.
    bool HasPendingChanges() const;
    // Whether ">>" is enabled: armed by the editor's rules, and the pending measure has changes.
    bool CaptureButtonEnabled() const;
    // ">>": the pending measure becomes the next captured measure. A blank name, an unreadable
    // cost, budget or damage text, a 16th measure or an 11th change are refused with nothing changed.
    void Capture();
    // `draft` captured as ">>" captures the pending measure (refused as CaptureMeasure says); the
    // editor then shows it captured: its factors' bars at their new levels, locked.
    void Capture(const MeasureDraft& draft);
    // "Сброс": every measure, the tree, the listing and the study's page back to the start.
    void ResetMeasures();

    // ---- Study and totals ----
    // The study of the captured measures on the session's clock (every text checked first).
    MeasureStudy PrepareStudy() const;
    // A finished study into the assessment, its listing and totals' labels onto the pages.
    void CommitStudy(MeasureStudy&& study);
    void Study(const WorkControl& control = {});
    // "Больше" / "Меньше": the totals judged against the budget typed now, in the detailed or the
    // compact view; an unreadable budget changes nothing.
    void ShowTotals(bool detailed);
    // The totals table as it is to be shown.
    TotalsView Totals() const;

private:
    // The change node of `factor` as the first child of the pending measure's changes node.
    TreeNode& OpenChangeNode(int factor);
    TreeNode& PendingChangesNode();
    // The study's button after a budget or damage text changed: the rule of RunButtonEnabled, and
    // disabled while a text is no number.
    void JudgeStudyReady();
    // What an initiation of the current ratings costs against one of the calibration's, times the
    // machine's load as the last committed work found it.
    long double CostFactor() const;
    // Committed work's wall-clock time over its processor time: how busy the machine is.
    void LearnLoad(const WorkTiming& timing);

    const Clock* clock_;
    SessionState state_;
    NumberLocale inputLocale_;
    NumberLocale displayLocale_;
    double calibrationTime_ = 0.0;
    // The calibration gives processor time; the estimates show it times the last committed work's
    // wall-clock time over its processor time (1 until work of at least MeasurableWork seconds).
    double loadFactor_ = 1.0;
    NetworkInputs calibrationInputs_ = InitialInputs();
};

// The estimate while K or N is not an integer.
inline constexpr const char* NoEstimateText = "—";

}  // namespace kestal
