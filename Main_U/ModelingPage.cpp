// The page "Моделирование": the monitor, the result grid, the run parameters, the modeling run and
// the run-time estimates.
#include "Main_U/TFormKestal.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include "ActSelect/Study.h"
#include "GERTnet/Calibration.h"
#include "GERTnet/ResultGrid.h"
#include "Main_U/Grid.h"
#include "Main_U/Guard.h"
#include "Main_U/HintDisplay.h"
#include "Main_U/Monitor.h"
#include "Main_U/Pictures.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"
#include "Main_U/Widgets.h"
#include "common/Conversions.h"
#include "common/Formats.h"

namespace {

const char* const HintK = "Сколько?| Число опытов указывает сколько раз производить моделирование. Вообще, достаточно провести моделирование один раз (K=1), но полученный результат  окажется невоспроизводимым в аналогичном опыте. Увеличение K повышает воспроизводимость и точность.";
const char* const HintK1 = "K = ?| Увеличение K повышает воспроизводимость и точность полученных резултатов, но, одновременно увеличивает время работы программы. Обычно  K более 200. ";
const char* const HintKList = "K = сколько?| Увеличение K повышает воспроизводимость и точность полученных резултатов, но, одновременно увеличивает время работы программы. Обычно  K более 200 ";
const char* const HintN = "Сколько инициаций?|  Порядок числа N определяет количество значащих цифр после запятой в результатах моделирования. Например, если происшествие ожидается с вероятностью порядка 0.001, то N выбирается больше, чем 1000.(Иначе  вероятность происшествия = 0).";
const char* const HintN1 = "N = ?| Увеличение числа инициаций модели в одном опыте N увеличивает точность получаемых результатов и, одновременно, время моделирования. Обычно N > 1000.";
const char* const HintNList = "N = сколько?| Увеличение числа инициаций модели в одном опыте N увеличивает точность получаемых результатов и, одновременно, время моделирования. Обычно N > 1000.";
const char* const HintOutTime = "| Время работы программы зависит от величины заданных K и N и показывает продолжительность (часы : мин : сек) моделирования процесса возникновения происшествия в системе Человек-Машина-Среда.";

const char* const WaitingLines[] = {"", "", "", "", "", "", "                Идет процесс моделирования.", "",
                                    "                            Ждите..."};
const char* const FinishedLines[] = {"", "", "", "", "", "                  Моделирование завершено.", "",
                                     "  Смотри таблицу \"Результаты моделирования\"", "", "", "", "", "",
                                     "  Последний результат", "  в конце таблицы"};

QString EstimateText(double days)
{
    return Q("  " + DurationText(days, UiNumberLocale()));
}

}  // namespace

void TFormKestal::BuildModelingPage()
{
    BuildFactorGroup();

    gbHelp = MakeGroup(tsModeling, "gbHelp", " Kestal - Монитор ", {522, 8, 257, 249});
    reHelp = MakeMonitor(gbHelp, "reHelp", true);
    reHelp->setGeometry(2, 24, 253, 223);
    reHelp->setPlainText(QString());
    SpeedButton1 = new QToolButton(gbHelp);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(IntroductionPicture());
    SpeedButton1->setIconSize({14, 14});
    SpeedButton1->setGeometry(237, 8, 16, 16);
    pbTime = new QProgressBar(gbHelp);
    pbTime->setObjectName(QStringLiteral("pbTime"));
    pbTime->setTextVisible(false);
    pbTime->setRange(0, 100);
    pbTime->setGeometry(16, 176, 225, 16);
    pbTime->hide();

    gbResult = MakeGroup(tsModeling, "gbResult", " Результаты моделирования ", {0, 264, 473, 183});
    sgResult = new Grid(gbResult, "sgResult", ResultColumns, 9, 15);
    sgResult->setGeometry(2, 15, 469, 165);
    // The design widths, widened where a header would not fit its column.
    const int widths[ResultColumns] = {25, 104, 125, 120, 88};
    for (int column = 0; column < ResultColumns; ++column) sgResult->setColumnWidth(column, widths[column]);

    gbRun = MakeGroup(tsModeling, "gbRun", " Параметры моделирования ", {485, 264, 295, 183});
    Bevel1 = new QFrame(gbRun);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(5, 18, 181, 117);
    lbInPutK = MakeLabel(gbRun, "lbInPutK", "Число опытов :", QPoint(25, 22));
    lbInPutK1 = MakeLabel(gbRun, "lbInPutK1", "K =", QPoint(67, 40));
    cbInputK = MakeEditableList(gbRun, "cbInputK", {95, 36, 49, 21}, KSuggestions(), QStringLiteral("200"));
    lbInPutN = MakeLabel(gbRun, "lbInPutN", "Число инициаций модели в одном опыте :", {25, 70, 133, 26}, true);
    lbInPutN1 = MakeLabel(gbRun, "lbInPutN1", "N =", QPoint(49, 109));
    cbInputN = MakeEditableList(gbRun, "cbInputN", {79, 105, 89, 21}, NSuggestions(), QStringLiteral("4000"));
    lbOutTime = MakeLabel(gbRun, "lbOutTime", "Время работы программы при заданных K и N :", {203, 32, 85, 39}, true);
    edOutTime = MakeEdit(gbRun, "edOutTime", {211, 88, 65, 21}, "");
    edOutTime->setReadOnly(true);
    buttonRun = MakeButton(gbRun, "buttonRun", "Запуск моделирования", {97, 145, 137, 25});

    SetHint(lbInPutK, Q(HintK), true);
    SetHint(lbInPutK1, Q(HintK1), true);
    SetHint(cbInputK, Q(HintKList), true);
    SetHint(lbInPutN, Q(HintN), true);
    SetHint(lbInPutN1, Q(HintN1), true);
    SetHint(cbInputN, Q(HintNList), true);
    SetHint(lbOutTime, Q(HintOutTime), true);
    SetHint(edOutTime, Q(HintOutTime), true);
}

void TFormKestal::ConnectModelingPage()
{
    connect(SpeedButton1, &QToolButton::clicked, this, Guard(this, [this] { ShowIntroduction(); }));
    connect(buttonRun, &QPushButton::clicked, this, Guard(this, [this] { buttonRunClick(); }));
    connect(cbInputK, &QComboBox::editTextChanged, this, Guard(this, [this] { cbInputKChange(); }));
    connect(cbInputN, &QComboBox::editTextChanged, this, Guard(this, [this] { cbInputNChange(); }));
}

void TFormKestal::buttonRunClick()
{
    // Every number the run needs is read and checked before anything changes.
    const int32_t k = ParseInteger(S(cbInputK->currentText()));
    const int32_t n = ParseInteger(S(cbInputN->currentText()));
    CheckRunParameters(k, n);

    CopySettingsToInputs(settings, net.inputs);
    series.ExperimentCount = k;
    series.InitiationCount = n;
    WriteLines(reHelp, WaitingLines);
    pbTime->show();
    pbTime->setRange(0, k);
    pbTime->setValue(0);
    // The window stays painted and the bar moves, but no user input is taken until the run ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    RunSeries(net, series, [this](int32_t experiment) {
        pbTime->setValue(experiment);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    pbTime->hide();
    WriteLines(reHelp, FinishedLines);

    const NumberLocale locale = UiNumberLocale();
    const int first = 10 * RunCounter;
    sgResult->setRows(first + 9);
    for (int node = 0; node < NodeCount; ++node) {
        const int row = first + 1 + node;
        const NodeResult result = ResultOfNode(net, series, node, locale);
        sgResult->setCell(0, row, Q(NodeLetters[node]));
        sgResult->setCell(1, row, Q(NodeDisplayTexts[node]));
        sgResult->setCell(2, row, Q(result.mean));
        // With a single experiment the deviation is undefined.
        sgResult->setCell(3, row, Q(result.deviation.value_or(UndefinedDeviationText)));
        sgResult->setCell(4, row, Q(IntegerText(result.last)));
    }
    if (RunCounter > 0) {
        sgResult->setCell(2, first, Q("{K=" + IntegerText(k) + "}"));
        sgResult->setCell(3, first, Q("{N=" + IntegerText(n) + "}"));
    }
    ++RunCounter;
}

void TFormKestal::StoreRunSize(const QComboBox* kField, const QComboBox* nField)
{
    series.ExperimentCount = ParseInteger(S(kField->currentText()));
    series.InitiationCount = ParseInteger(S(nField->currentText()));
}

void TFormKestal::WriteRunEstimate()
{
    edOutTime->clear();
    edOutTime->setText(EstimateText(EstimateDays(CalibrationTime, series.ExperimentCount, series.InitiationCount)));
}

void TFormKestal::WriteEstimates()
{
    const int32_t k = series.ExperimentCount;
    const int32_t n = series.InitiationCount;
    WriteRunEstimate();
    edOutTimeOpt->clear();
    // A study simulates nothing for fewer than two measures, and at most 4 or 8 series for two or three.
    switch (measures.MeasureCount) {
    case 0:
    case 1:
        edOutTimeOpt->setText(EstimateText(0.0));
        break;
    case 2:
    case 3:
        edOutTimeOpt->setText(
            EstimateText(EstimateDays(CalibrationTime, k, n, StudySeriesCount(measures.MeasureCount))));
        break;
    default:
        edOutTimeOpt->setText(Q(" Нызнаю"));
    }
}

void TFormKestal::cbInputKChange()
{
    StoreRunSize(cbInputK, cbInputN);
    Mirror(cbInputKOpt, cbInputK);
    WriteEstimates();
}

void TFormKestal::cbInputNChange()
{
    StoreRunSize(cbInputK, cbInputN);
    Mirror(cbInputNOpt, cbInputN);
    WriteEstimates();
}
