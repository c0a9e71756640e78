// The assessments of the project tests and of the example file.
#include "Assessments.h"

void Rate(Session& session, const char* id, int level) { session.SelectLevel(FactorIndex(id), level - 1); }

void EnterMeasure(Session& session, const std::string& name, const std::string& cost,
                  std::initializer_list<std::pair<const char*, int>> levels)
{
    for (const auto& [id, level] : levels) {
        const int factor = FactorIndex(id);
        session.SelectMeasureFactor(factor);
        session.EnterBar(factor);
        session.MoveBar(factor, level - 1);
        session.ExitBar(factor);
    }
    session.SetMeasureName(name);
    session.SetCostText(cost);
    session.Capture();
}

void AssessWorkplace(Session& session)
{
    for (const auto& [id, level] : {std::pair{"H01", 7},
                                    {"H02", 5},
                                    {"H04", 6},
                                    {"H08", 5},
                                    {"M01", 4},
                                    {"M03", 8},
                                    {"M07", 9},
                                    {"C01", 3},
                                    {"C03", 6},
                                    {"T01", 4},
                                    {"T04", 8}})
        Rate(session, id, level);
    QuestionnaireAnswers answers{};
    answers[0] = 1;   // class 2
    answers[11] = 2;  // class 3.1
    answers[12] = 3;  // class 3.2
    session.assessment().ApplyQuestionnaire(answers);
    session.Activate();
    session.Run();

    session.SetBudgetText("1000");
    session.SetDamageText("250000");
    EnterMeasure(session, "Обучение операторов", "300", {{"H04", 9}, {"H13", 9}, {"H08", 8}});
    EnterMeasure(session, "Ограждение опасной зоны", "450", {{"T04", 3}, {"M07", 5}});
    // H05 still has its start-up rating: the measure records the caption the page shows.
    EnterMeasure(session, "Ремонт вентиляции", "700", {{"C01", 8}, {"H05", 10}});
    session.Study();
    session.ShowTotals(true);
}
