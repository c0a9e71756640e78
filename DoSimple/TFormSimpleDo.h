// The work-intensity questionnaire window: 18 criteria, the report of the answers and the rating for factor T03.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "P22013/Criteria.h"

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

class TFormSimpleDo : public QDialog {
    Q_OBJECT
public:
    // Not modal; deletes itself when closed. "Применить" writes the rated level (0..10) into questionnaireLevel,
    // which must outlive the window (it belongs to the owner).
    TFormSimpleDo(QWidget* owner, uint8_t& questionnaireLevel);

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

    uint8_t& QuestionnaireLevel;
    // Per criterion, its answer buttons by class; nullptr where the criterion offers no answer of that class.
    std::array<std::array<QRadioButton*, AnswerClassCount>, Criteria.size()> answerButtons{};
    QPlainTextEdit* reSimpleDo = nullptr;
    QLabel* plSimpleDoInfo = nullptr;
};
