// The questionnaire window driven as a person would: answers clicked, the report and rating read, "Применить".
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "window/RowTabBar.h"
#include "window/TFormSimpleDo.h"
#include "support/AnswerQuestion.h"

using namespace kestal;

// Readable failure messages.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class QuestionnaireTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = std::make_unique<QWidget>();
        owner->show();
        dialog = openDialog();
    }

    TFormSimpleDo* openDialog()
    {
        auto* opened = new TFormSimpleDo(owner.get(), [this](const QuestionnaireAnswers& answers) {
            level = QuestionnaireLevelOf(answers).value_or(level);
        });
        opened->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(opened));
        return opened;
    }

    template <typename T>
    T* find(const char* name) const
    {
        T* widget = dialog->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QStringList report() const { return find<QPlainTextEdit>("reSimpleDo")->toPlainText().split('\n'); }
    QString rating() const { return find<QLabel>("plSimpleDoInfo")->text(); }

    void answer(const char* name) { ASSERT_TRUE(AnswerQuestion(find<QRadioButton>(name))) << name; }

    QStringList lastFive() const { return report().mid(43); }

    uint8_t level = 6;
    std::unique_ptr<QWidget> owner;
    QPointer<TFormSimpleDo> dialog;
};

TEST_F(QuestionnaireTest, FreshDialogReportsTheDesignAnswers)
{
    const QStringList lines = report();
    ASSERT_EQ(lines.size(), 48);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], u("1. ИНТЕЛЛЕКТУАЛЬНЫЕ НАГРУЗКИ"));
    EXPECT_EQ(lines[2], u("  1.1. Содержание работы:"));
    EXPECT_EQ(lines[3], u("          Отсутствует необходимость принятия решения"));
    EXPECT_EQ(lines[10], u("2. СЕНСОРНЫЕ НАГРУЗКИ"));
    EXPECT_EQ(lines[11], u("  2.1. Длительность сосредоточенного наблюдения (в % от времени смены):"));
    EXPECT_EQ(lines[12], u("          До 25 %"));
    EXPECT_EQ(lines[17], u("2.4. НАГРУЗКА НА ЗРИТЕЛЬНЫЙ АНАЛИЗАТОР"));
    EXPECT_EQ(lines[18],
              u("  2.4.1. Размер объекта различения (при расстоянии от глаз работающего до объекта различения "
                "не более 0,5 м),мм при длительности сосредоточенного наблюдения (в % времени смены):"));
    EXPECT_EQ(lines[21], u("          25 %"));
    EXPECT_EQ(lines[26], u("3. ЭМОЦИОНАЛЬНЫЕ НАГРУЗКИ"));
    EXPECT_EQ(lines[33], u("4. МОНОТОННОСТЬ НАГРУЗОК"));
    EXPECT_EQ(lines[38], u("5. РЕЖИМ РАБОТЫ"));
    EXPECT_EQ(lines[41], u("  5.2. Сменность работы:"));
    EXPECT_EQ(lines[42], u("          Односменная работа ( без ночной смены)"));
    EXPECT_EQ(lastFive(), QStringList({"18", "0", "0", "0", "0"}));
    EXPECT_EQ(rating(), u("Очень, очень низкая"));
}

TEST_F(QuestionnaireTest, WindowHasItsDesign)
{
    EXPECT_EQ(dialog->windowTitle(), u("Сложность алгоритмов оператора"));
    EXPECT_EQ(dialog->size(), QSize(760, 418));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));

    auto* pcSimpleDo = find<QTabWidget>("pcSimpleDo");
    ASSERT_EQ(pcSimpleDo->count(), 6);
    EXPECT_EQ(pcSimpleDo->currentIndex(), 0);
    EXPECT_EQ(pcSimpleDo->tabText(2), u("2.4. Нагрузка на зрительный анализатор"));
    const std::pair<const char*, int> pageControls[] = {{"pcIntellect", 4}, {"pcSensor", 3},  {"pcSight", 4},
                                                        {"pcEmotion", 3},   {"pcMonoton", 2}, {"pcOrderWork", 2}};
    for (const auto& [name, tabs] : pageControls) {
        auto* pages = find<QTabWidget>(name);
        EXPECT_EQ(pages->count(), tabs) << name;
        EXPECT_EQ(pages->currentIndex(), 0) << name;
    }
    EXPECT_EQ(find<QTabWidget>("pcSight")->tabText(3), u("2.5. Нагрузка на слух ..."));
    EXPECT_EQ(dialog->findChildren<QGroupBox*>().size(), 18);
    EXPECT_EQ(dialog->findChildren<QRadioButton*>().size(), 16 * 4 + 2 * 2);

    // Texts as they stand, blanks and misprints included.
    EXPECT_EQ(find<QGroupBox>("gbCharacterWork")->title(), u(" Характер выполняемой работы "));
    EXPECT_EQ(find<QGroupBox>("gbAtherRisk")->title(), u("Степеь риска за безопасность других лиц"));
    EXPECT_EQ(find<QGroupBox>("gbTimeWork")->title(), u("Фактическая  продолжительность рабочего дня (час.) "));
    EXPECT_EQ(find<QLabel>("lbHearWorkLine")->text(),
              u("(при производственной необходимости восприяти речи или дифференцированных сигналов)"));
    EXPECT_EQ(find<QRadioButton>("rbTimeSee_1")->text(), u("          До 25 %"));
    EXPECT_EQ(find<QRadioButton>("rbOpticWork_32")->text(), u("         Более 75 %"));
    EXPECT_EQ(find<QRadioButton>("rbSizeObject_2")->text(), "");
    EXPECT_EQ(find<QLabel>("lbSizeObject_2")->text(),
              u("5.0 - 1.1 мм более 50 % времени 1.0 - 0.3 до 50 % времени    Менее 0.3 мм до 25 %времени"));
    EXPECT_EQ(find<QLabel>("lbPerseption_32")->text(),
              u("Восприятие сигналов с последующей комплексной оценкой взаимосвязанных параметров. "
                "Комплексная оценка всей производственнной деятельности"));
    EXPECT_EQ(dialog->findChild<QRadioButton*>("rbSelfRisk_2"), nullptr);
    EXPECT_EQ(dialog->findChild<QRadioButton*>("rbAtherRisk_31"), nullptr);

    auto* reSimpleDo = find<QPlainTextEdit>("reSimpleDo");
    EXPECT_TRUE(reSimpleDo->isReadOnly());
    EXPECT_EQ(reSimpleDo->palette().color(QPalette::Base), reSimpleDo->palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(find<QLabel>("lbSimpleDoInfo")->text(), u("Сложность алгоритмов оператора"));
    EXPECT_EQ(find<QLabel>("plSimpleDoInfo")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(find<QPushButton>("butAppSimDO")->text(), u("Применить"));
}

TEST_F(QuestionnaireTest, OneProbableRiskRatesMedium)
{
    answer("rbSelfRisk_32");
    const QStringList lines = report();
    ASSERT_EQ(lines.size(), 48);
    EXPECT_EQ(lines[29], u("  3.2. Степень риска для собственной жизни:"));
    EXPECT_EQ(lines[30], u("          Вероятна"));
    EXPECT_EQ(lastFive(), QStringList({"17", "0", "0", "1", "0"}));
    EXPECT_EQ(rating(), u("Средняя"));
}

TEST_F(QuestionnaireTest, EachClass32AnswerRaisesTheRatingAtOnce)
{
    // Criteria 8 and 9 (sight) rebuild on click like the others.
    const char* answers[] = {"rbContentWork_32",    "rbTimeSee_32",   "rbSizeObject_32", "rbOpticWork_32",
                             "rbResponsibility_32", "rbAtherRisk_32", "rbReplase_32"};
    const char* ratings[] = {"Средняя",       "Выше среднего",       "Большая", "Очень большая", "Высокая",
                             "Очень высокая", "Очень, очень высокая"};
    for (int i = 0; i < 7; ++i) {
        answer(answers[i]);
        EXPECT_EQ(rating(), u(ratings[i])) << answers[i];
    }
    const QStringList lines = report();
    EXPECT_EQ(lines[21], u("         Более 75 %"));  // criterion 9: nine blanks
    EXPECT_EQ(lines[28],
              u("          Несет ответственность за функциональное качество окончательной (конечной) продукции, "
                "работы (задания). Влечет за собой повреждение оборудования, остановку технологического процесса "
                "и возникает возможность опасности для жизни"));
    EXPECT_EQ(lastFive(), QStringList({"11", "0", "0", "7", "0"}));
}

TEST_F(QuestionnaireTest, FiveClass2AnswersRateVeryLowAndSixLow)
{
    answer("rbContentWork_2");
    // A click on an answer's label picks its button.
    QTest::mouseClick(find<QLabel>("lbPerseption_2"), Qt::LeftButton);
    EXPECT_TRUE(find<QRadioButton>("rbPerseption_2")->isChecked());
    answer("rbComplexity_2");
    answer("rbCharacterWork_2");
    answer("rbTimeSee_2");
    EXPECT_EQ(rating(), u("Очень низкая"));
    EXPECT_EQ(lastFive(), QStringList({"13", "5", "0", "0", "0"}));
    EXPECT_EQ(report()[5], u("          Восприятие сигналов с последующей коррекцией действий"));

    answer("rbVideoSee_2");  // criterion 10
    EXPECT_EQ(rating(), u("Низкая"));
    EXPECT_EQ(report()[23], u("          2 - 3"));
    EXPECT_EQ(lastFive(), QStringList({"12", "6", "0", "0", "0"}));

    answer("rbVideoSee_1");
    EXPECT_EQ(rating(), u("Очень низкая"));
}

TEST_F(QuestionnaireTest, AClass31AnswerRatesBelowMedium)
{
    answer("rbHearWork_31");  // criterion 11
    EXPECT_EQ(rating(), u("Ниже среднего"));
    EXPECT_EQ(report()[25], u("          Разборчивость слов и сигналов от 70% до 50%"));
    EXPECT_EQ(lastFive(), QStringList({"17", "0", "1", "0", "0"}));
}

TEST_F(QuestionnaireTest, ActivationRebuildsTheReport)
{
    find<QRadioButton>("rbTimeElement_31")->setChecked(true);  // no click: the report is not rebuilt yet
    EXPECT_EQ(rating(), u("Очень, очень низкая"));
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == owner.get(); }));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
    EXPECT_EQ(rating(), u("Ниже среднего"));
    EXPECT_EQ(report()[37], u("          24 - 10"));
}

TEST_F(QuestionnaireTest, ApplyHandsBackTheLevelAndCloses)
{
    QTest::mouseClick(find<QPushButton>("butAppSimDO"), Qt::LeftButton);
    EXPECT_EQ(level, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dialog);

    dialog = openDialog();
    answer("rbSelfRisk_32");
    answer("rbAtherRisk_32");
    QTest::mouseClick(find<QPushButton>("butAppSimDO"), Qt::LeftButton);
    EXPECT_EQ(level, 5);  // "Выше среднего"
}

TEST_F(QuestionnaireTest, EnterOnAnAnswerAppliesNothingAndEnterOnApplyApplies)
{
    answer("rbSelfRisk_32");
    QTest::keyClick(find<QRadioButton>("rbSelfRisk_32"), Qt::Key_Return);
    QTest::keyClick(find<QRadioButton>("rbSelfRisk_32"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(level, 6);
    EXPECT_TRUE(dialog->isVisible());

    auto* apply = find<QPushButton>("butAppSimDO");
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Return);
    EXPECT_EQ(level, 4);  // "Средняя"
    EXPECT_TRUE(dialog->isHidden());
}

TEST_F(QuestionnaireTest, CloseBoxKeepsTheLevelAndReopeningShowsTheDesignAnswers)
{
    answer("rbSelfRisk_32");
    answer("rbReplase_31");
    dialog->close();
    EXPECT_EQ(level, 6);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dialog);

    dialog = openDialog();
    EXPECT_TRUE(find<QRadioButton>("rbSelfRisk_1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("rbReplase_1")->isChecked());
    EXPECT_EQ(rating(), u("Очень, очень низкая"));
    EXPECT_EQ(lastFive(), QStringList({"18", "0", "0", "0", "0"}));
}

TEST_F(QuestionnaireTest, PageTabsWrapIntoRowsAndSwitchPagesOnClick)
{
    auto* pcSimpleDo = find<QTabWidget>("pcSimpleDo");
    auto* bar = find<RowTabBar>("pcSimpleDoTabs");
    EXPECT_FALSE(pcSimpleDo->tabBar()->isVisible());
    QSet<int> rows;
    for (int i = 0; i < pcSimpleDo->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        EXPECT_TRUE(bar->rect().contains(tab)) << i;
        EXPECT_LT(bar->fontMetrics().horizontalAdvance(pcSimpleDo->tabText(i)), tab.width()) << i;
        rows.insert(tab.top());
    }
    EXPECT_GT(rows.size(), 1);

    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(5).center());
    EXPECT_EQ(pcSimpleDo->currentIndex(), 5);
    auto* pcOrderWork = find<QTabWidget>("pcOrderWork");
    auto* inner = find<RowTabBar>("pcOrderWorkTabs");
    ASSERT_TRUE(inner->isVisible());
    QTest::mouseClick(inner, Qt::LeftButton, {}, inner->tabRect(1).center());
    EXPECT_EQ(pcOrderWork->currentIndex(), 1);
    EXPECT_TRUE(find<QRadioButton>("rbReplase_1")->isVisible());
}

// With KESTAL_SCREENSHOTS naming a folder, saves a picture of every criterion's tab there.
TEST_F(QuestionnaireTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("KESTAL_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "KESTAL_SCREENSHOTS not set";
    auto* pcSimpleDo = find<QTabWidget>("pcSimpleDo");
    int criterion = 0;
    for (int page = 0; page < pcSimpleDo->count(); ++page) {
        pcSimpleDo->setCurrentIndex(page);
        auto* tabs = pcSimpleDo->currentWidget()->findChild<QTabWidget*>();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QTest::qWait(20);
            const QString file =
                QString("%1/dosimple_page%2_criterion%3.png").arg(folder).arg(page + 1).arg(++criterion);
            EXPECT_TRUE(dialog->grab().save(file)) << file.toStdString();
        }
    }
}

}  // namespace
