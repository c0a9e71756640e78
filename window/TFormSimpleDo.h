// The work-intensity questionnaire window: 18 criteria, the report of the answers and the rating for factor T03.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "questionnaire/Questionnaire.h"

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

namespace kestal {

// The questionnaire on the operator's work intensity, which rates T03.
class TFormSimpleDo : public QDialog {
    Q_OBJECT
public:
    // "Применить" hands the selected answers to `apply`, then closes the window.
    using Apply = std::function<void(const QuestionnaireAnswers&)>;
    // Not modal; deletes itself when closed.
    TFormSimpleDo(QWidget* owner, Apply apply);

    // Rebuilds the report and the rating from the selected answers.
    void FormActivate();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildCriterion(const Criterion& criterion, std::array<QRadioButton*, AnswerClassCount>& buttons);
    QWidget* buildInfoPanel();
    void butAppSimDOClick();
    // The class of the selected answer of every criterion.
    QuestionnaireAnswers SelectedAnswers() const;

    Apply apply_;
    // Per criterion, its answer buttons by class; nullptr where the criterion offers no answer of that class.
    std::array<std::array<QRadioButton*, AnswerClassCount>, Criteria.size()> answerButtons{};
    QPlainTextEdit* reSimpleDo = nullptr;  // the report of the answers
    QLabel* plSimpleDoInfo = nullptr;      // the rating the answers give
};

}  // namespace kestal
