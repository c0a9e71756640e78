// Answering the questionnaire as a person does: bring the answer's page and tab to the front, click its round box.
#pragma once

#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

// Returns whether the answer is now selected.
inline bool AnswerQuestion(QRadioButton* button)
{
    if (!button) return false;
    for (QWidget* w = button; w->parentWidget(); w = w->parentWidget())
        if (auto* pages = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()); pages && pages->indexOf(w) >= 0)
            pages->setCurrentWidget(w);
    if (!button->isVisible()) return false;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
    return button->isChecked();
}
