// The page "Моделирование": its building, the monitor, the result grid, the run parameters and the
// run-time estimates.
#include "window/ModelingPage.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "network/ResultGrid.h"
#include "widgets/Grid.h"
#include "widgets/HintDisplay.h"
#include "widgets/Layouts.h"
#include "widgets/Monitor.h"
#include "widgets/Pictures.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"
#include "common/Formats.h"

namespace kestal {

namespace {

const char* const HintK =
    "Сколько?| Число опытов указывает сколько раз производить моделирование. Вообще, достаточно провести моделирование "
    "один раз (K=1), но полученный результат  окажется невоспроизводимым в аналогичном опыте. Увеличение K повышает "
    "воспроизводимость и точность.";
const char* const HintK1 =
    "K = ?| Увеличение K повышает воспроизводимость и точность полученных резултатов, но, одновременно увеличивает "
    "время работы программы. Обычно  K более 200. ";
const char* const HintKList =
    "K = сколько?| Увеличение K повышает воспроизводимость и точность полученных резултатов, но, одновременно "
    "увеличивает время работы программы. Обычно  K более 200 ";
const char* const HintN =
    "Сколько инициаций?|  Порядок числа N определяет количество значащих цифр после запятой в результатах "
    "моделирования. Например, если происшествие ожидается с вероятностью порядка 0.001, то N выбирается больше, чем "
    "1000.(Иначе  вероятность происшествия = 0).";
const char* const HintN1 =
    "N = ?| Увеличение числа инициаций модели в одном опыте N увеличивает точность получаемых результатов и, "
    "одновременно, время моделирования. Обычно N > 1000.";
const char* const HintNList =
    "N = сколько?| Увеличение числа инициаций модели в одном опыте N увеличивает точность получаемых результатов и, "
    "одновременно, время моделирования. Обычно N > 1000.";
const char* const HintOutTime =
    "| Время работы программы зависит от величины заданных K и N и показывает продолжительность (часы : мин : сек) "
    "моделирования процесса возникновения происшествия в системе Человек-Машина-Среда.";

const char* const WaitingLines[] = {
    "", "", "", "", "", "", "                Идет процесс моделирования.", "", "                            Ждите..."};
const char* const FinishedLines[] = {"",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "                  Моделирование завершено.",
                                     "",
                                     "  Смотри таблицу \"Результаты моделирования\"",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "  Последний результат",
                                     "  в конце таблицы"};
const char* const StoppedLines[] = {"", "",
                                    "", "",
                                    "", "                  Моделирование остановлено.",
                                    "", "  Результаты прежние: таблица не изменилась."};

}  // namespace

ModelingPage::ModelingPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsModeling"));
    QWidget* gbFactors = BuildFactorGroup();

    QGroupBox* gbHelp = MakeGroup(this, "gbHelp", " Kestal - Монитор ", {522, 8, 257, 249});
    reHelp = MakeMonitor(gbHelp, "reHelp", true);
    reHelp->setGeometry(2, 24, 253, 223);
    reHelp->setPlainText(QString());
    auto* SpeedButton1 = new QToolButton(gbHelp);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(IntroductionPicture());
    SpeedButton1->setIconSize({14, 14});
    SpeedButton1->setGeometry(237, 8, 16, 16);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { WriteLines(reHelp, IntroductionLines); });
    pbTime = new QProgressBar(gbHelp);
    pbTime->setObjectName(QStringLiteral("pbTime"));
    pbTime->setTextVisible(false);
    pbTime->setRange(0, 100);
    pbTime->setGeometry(16, 176, 225, 16);
    pbTime->hide();

    QGroupBox* gbResult = MakeGroup(this, "gbResult", " Результаты моделирования ", {0, 264, 473, 183});
    sgResult = new Grid(gbResult, "sgResult", ResultColumns, 9, 15);
    sgResult->setGeometry(2, 15, 469, 165);
    // The design widths, widened where a header would not fit its column.
    const int widths[ResultColumns] = {25, 104, 125, 120, 88};
    for (int column = 0; column < ResultColumns; ++column) sgResult->setColumnWidth(column, widths[column]);

    QGroupBox* gbRun = MakeGroup(this, "gbRun", " Параметры моделирования ", {485, 264, 295, 183});
    auto* Bevel1 = new QFrame(gbRun);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(5, 18, 181, 117);
    QLabel* lbInPutK = MakeLabel(gbRun, "lbInPutK", "Число опытов :", QPoint(25, 22));
    QLabel* lbInPutK1 = MakeLabel(gbRun, "lbInPutK1", "K =", QPoint(67, 40));
    cbInputK = MakeEditableList(gbRun, "cbInputK", {95, 36, 49, 21}, KSuggestions(), QStringLiteral("200"));
    QLabel* lbInPutN = MakeLabel(gbRun, "lbInPutN", "Число инициаций модели в одном опыте :", {25, 70, 133, 26}, true);
    QLabel* lbInPutN1 = MakeLabel(gbRun, "lbInPutN1", "N =", QPoint(49, 109));
    cbInputN = MakeEditableList(gbRun, "cbInputN", {79, 105, 89, 21}, NSuggestions(), QStringLiteral("4000"));
    QLabel* lbOutTime =
        MakeLabel(gbRun, "lbOutTime", "Время работы программы при заданных K и N :", {203, 32, 85, 39}, true);
    edOutTime = MakeEdit(gbRun, "edOutTime", {211, 88, 65, 21}, "");
    edOutTime->setReadOnly(true);
    buttonRun = MakeButton(gbRun, "buttonRun", "Запуск моделирования", {97, 145, 137, 25});

    SetHint(lbInPutK, QText(HintK), true);
    SetHint(lbInPutK1, QText(HintK1), true);
    SetHint(cbInputK, QText(HintKList), true);
    SetHint(lbInPutN, QText(HintN), true);
    SetHint(lbInPutN1, QText(HintN1), true);
    SetHint(cbInputN, QText(HintNList), true);
    SetHint(lbOutTime, QText(HintOutTime), true);
    SetHint(edOutTime, QText(HintOutTime), true);

    // The page grows with the window: factors and monitor share the width above, the result grid
    // takes what the run's fixed group leaves below.
    FollowParent(reHelp, Follow::Width | Follow::Height);
    FollowParent(SpeedButton1, Follow::Right);
    FollowParent(pbTime, Follow::Width | Follow::Down);
    FollowParent(sgResult, Follow::Width | Follow::Height);
    for (QWidget* box : {gbFactors, static_cast<QWidget*>(gbHelp), static_cast<QWidget*>(gbResult)})
        GrowsFromDesignSize(box);
    gbRun->setFixedSize(gbRun->size());
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 8, 0, 0);
    page->setSpacing(7);
    page->addLayout(Row({{gbFactors, 2}, {gbHelp, 1}}, 9), 3);
    page->addLayout(Row({{gbResult, 1}, {gbRun, 0}}, 12), 2);

    for (int column = 0; column < ResultColumns; ++column)
        sgResult->setCell(column, 0, QText(ResultGridHeaders[column]));
    WriteLines(reHelp, IntroductionLines);
    ConnectFactorPanels();
    connect(buttonRun, &QPushButton::clicked, this, &ModelingPage::runRequested);
    connect(cbInputK, &QComboBox::editTextChanged, this, &ModelingPage::kEdited);
    connect(cbInputN, &QComboBox::editTextChanged, this, &ModelingPage::nEdited);
}

void ModelingPage::Show(const Session& session, bool lists)
{
    SetListText(cbInputK, QText(session.assessment().kText));
    SetListText(cbInputN, QText(session.assessment().nText));
    SetEditText(edOutTime, QText(session.RunEstimateText()));
    ShowFactorLists(session, lists);
    ShowResults(session);
}

void ModelingPage::Forget()
{
    sgResult->clearContents();
    sgResult->setRows(9);
    resultBlocksShown_ = 0;
}

void ModelingPage::ShowHint(const QString& text) { reHelp->setPlainText(text); }

void ModelingPage::RunStarted(int experiments)
{
    WriteLines(reHelp, WaitingLines);
    pbTime->setRange(0, experiments);
    pbTime->setValue(0);
    pbTime->show();
}

void ModelingPage::RunEnded(bool finished)
{
    pbTime->hide();
    if (finished)
        WriteLines(reHelp, FinishedLines);
    else
        WriteLines(reHelp, StoppedLines);
}

void ModelingPage::ClickRun()
{
    if (buttonRun->isEnabled()) buttonRun->click();
}

QList<QWidget*> ModelingPage::TypedFields() const
{
    QList<QWidget*> fields{cbInputK, cbInputN};
    for (const FactorControls& controls : factorControls) fields.append(controls.list);
    return fields;
}

void ModelingPage::ShowResults(const Session& session)
{
    const std::vector<RunBlock>& results = session.assessment().results;
    const int count = static_cast<int>(results.size());
    if (count < resultBlocksShown_) {
        // Runs undone: the grid is drawn again from its first block.
        sgResult->clearContents();
        sgResult->setRows(9);
        resultBlocksShown_ = 0;
    }
    if (count == resultBlocksShown_) return;
    const NumberLocale locale = UiNumberLocale();
    sgResult->setRows(10 * (count - 1) + 9);
    for (int r = resultBlocksShown_; r < count; ++r) {
        const RunBlock& block = results[r];
        const int first = 10 * r;
        for (int node = 0; node < NodeCount; ++node) {
            const int row = first + 1 + node;
            const NodeResult result = NodeTexts(block, node, locale);
            sgResult->setCell(0, row, QText(NodeLetters[node]));
            sgResult->setCell(1, row, QText(NodeDisplayTexts[node]));
            sgResult->setCell(2, row, QText(result.mean));
            // With a single experiment the deviation is undefined.
            sgResult->setCell(3, row, QText(result.deviation.value_or(UndefinedDeviationText)));
            sgResult->setCell(4, row, QText(IntegerText(result.last)));
        }
        if (r > 0) {
            sgResult->setCell(2, first, QText(KLabel(block)));
            sgResult->setCell(3, first, QText(NLabel(block)));
        }
    }
    resultBlocksShown_ = count;
    // The newest block is where the monitor says it is: at the end of the table, in view.
    sgResult->scrollToBottom();
}

}  // namespace kestal
