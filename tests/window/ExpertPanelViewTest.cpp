// The tab "Эксперты" driven by clicks and keys: an imported table in the grid, the band worked out
// off the interface thread equal to the core's, the consensus applied to the ratings, experts added,
// renamed and removed within 2 to 12.
#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QTest>
#include <QWindow>

#include <map>

#include "analysis/ExpertPanelCsv.h"
#include "analysispage/ExpertPanelView.h"
#include "common/Formats.h"
#include "report/Report.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

const QString ExamplePanel = QStringLiteral(KESTAL_SOURCE_DIR "/examples/panel.csv");

ExpertPanel ExampleTable()
{
    QFile file(ExamplePanel);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return ReadExpertPanelCsv(file.readAll().toStdString());
}

class PanelTab : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ClickTab(Find<QTabWidget>("PageControl1"), 3);
        ClickTab(Find<QTabWidget>("pcAnalysis"), 4);
        view = Find<ExpertPanelView>("tsPanel");
    }
    QComboBox* Cell(int expert, const char* id)
    {
        return Find<QComboBox>(QStringLiteral("cbPanel%1_%2").arg(expert).arg(id));
    }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    void Compute()
    {
        Click("btPanelBand");
        auto* stop = Find<QPushButton>("btPanelStop");
        ASSERT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 60'000));
    }
    ExpertPanelView* view = nullptr;
};

TEST_F(PanelTab, AnImportedTableIsShownAndItsBandIsTheCores)
{
    MessageBoxCloser boxes;
    view->ImportFrom(ExamplePanel);
    EXPECT_EQ(boxes.texts(), QStringList());
    const ExpertPanel panel = ExampleTable();
    ASSERT_EQ(window->session().assessment().panel, panel);
    auto* grid = Find<QTableWidget>("sgPanel");
    // Every cell shows its expert's level ("—" as item 0), every header its expert's name.
    ASSERT_EQ(grid->columnCount(), 2 + 5 + 2);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(grid->horizontalHeaderItem(2 + k)->text().toStdString(), panel.experts[k].name);
        for (const FactorInfo& factor : FactorCatalogue)
            EXPECT_EQ(Cell(k + 1, factor.id)->currentIndex(), panel.experts[k].level[CatalogueIndex(factor)])
                << k << factor.id;
    }
    std::map<int, int> consensus;
    for (const FactorOpinions& row : PanelOpinions(panel)) consensus[CatalogueIndex(*row.factor)] = row.consensus;
    for (int row = 0; row < FactorCount; ++row)
        EXPECT_EQ(grid->item(row, 7)->text(), consensus.count(row) ? QString::number(consensus[row]) : QString())
            << row;
    EXPECT_EQ(
        Find<QLabel>("lbPanelAgreement")->text(),
        "W Кендалла = 0,8847, χ² = 39,81, степеней свободы 9, p = 8,22E-6 (факторов 10): согласованность высокая");

    auto* target = Find<QLineEdit>("edPanelTarget");
    target->setFocus();
    TypeText(target, "0,003");
    Compute();
    const NetworkInputs ratings = window->session().assessment().RatingInputs();
    const std::optional<PanelBand> core = ComputePanelBand(panel, ratings, 0.003L);
    ASSERT_TRUE(core && view->Shown());
    const PanelBand& shown = view->Shown()->band;
    EXPECT_EQ(shown.cases, core->cases);
    EXPECT_EQ(shown.exceedance, core->exceedance);
    EXPECT_EQ(shown.accident, core->accident);
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& a = shown.node[node];
        const NodeBand& b = core->node[node];
        EXPECT_EQ(std::vector<long double>({a.mean, a.min, a.p05, a.p50, a.p95, a.max}),
                  std::vector<long double>({b.mean, b.min, b.p05, b.p50, b.p95, b.max}))
            << node;
        EXPECT_EQ(Find<QTableWidget>("sgPanelBand")->item(node, 4)->text().toStdString(),
                  ProbabilityText(b.p50, RussianNumberLocale()));
    }
    ASSERT_EQ(shown.shares.size(), core->shares.size());
    for (std::size_t i = 0; i < shown.shares.size(); ++i) {
        EXPECT_EQ(shown.shares[i].factor, core->shares[i].factor);
        EXPECT_EQ(shown.shares[i].share, core->shares[i].share);
    }
    // The curve, three quantiles, the current value and the target; a bar per disputed factor.
    EXPECT_EQ(Find<QChartView>("chPanelBand")->chart()->series().size(), 6);
    auto* bars = Find<QChartView>("chPanelShares")->chart()->axes(Qt::Vertical).front();
    EXPECT_EQ(static_cast<QBarCategoryAxis*>(bars)->count(), static_cast<int>(core->shares.size()));
    EXPECT_TRUE(Find<QLabel>("lbPanelState")->text().isEmpty());

    // The consensus becomes the rating of every factor an expert rated; the others stay.
    std::array<int, FactorCount> before{};
    for (int f = 0; f < FactorCount; ++f) before[f] = window->session().state().Row(f).currentItem;
    Click("btPanelApply");
    for (int f = 0; f < FactorCount; ++f)
        EXPECT_EQ(window->session().state().Row(f).currentItem, consensus.count(f) ? consensus[f] - 1 : before[f]) << f;
    int changed = 0;
    for (const auto& [f, level] : consensus) changed += before[f] != level - 1;
    EXPECT_GT(changed, 0);
    EXPECT_TRUE(window->windowHandle()->title().startsWith("Новая оценка*"))
        << window->windowHandle()->title().toStdString();
    EXPECT_EQ(Find<QAction>("acUndo")->text(), QStringLiteral("Отменить: согласованные оценки экспертов"));
    EXPECT_FALSE(Find<QPushButton>("btPanelApply")->isEnabled());
    EXPECT_FALSE(Find<QLabel>("lbPanelState")->text().isEmpty());

    // The picture: the example assessment with the example panel and the target 0,003.
    if (qEnvironmentVariableIsSet("KESTAL_PANEL_PICTURE")) {
        AnswerNextQuestion(QMessageBox::Discard);
        window->OpenProjectAt(KESTAL_SOURCE_DIR "/examples/workplace.kestal");
        view->ImportFrom(ExamplePanel);
        Compute();
        window->showNormal();
        window->resize(1280, 900);
        QTest::qWait(300);
        window->grab().save(qEnvironmentVariable("KESTAL_PANEL_PICTURE"));
    }
}

TEST_F(PanelTab, ExpertsAreAddedRenamedAndRemovedWithinTwoToTwelve)
{
    auto* add = Find<QPushButton>("btPanelAdd");
    auto* remove = Find<QPushButton>("btPanelRemove");
    const auto experts = [this] { return window->session().assessment().panel.experts.size(); };
    // With no panel, a press makes one of two; then one expert a press up to 12.
    const struct {
        const char* button;
        int presses;
        std::size_t experts;
        bool addable, removable;
    } steps[] = {{"btPanelAdd", 1, 2, true, false},   {"btPanelAdd", 9, 11, true, true},
                 {"btPanelAdd", 1, 12, false, true},  {"btPanelAdd", 1, 12, false, true},
                 {"btPanelRemove", 9, 3, true, true}, {"btPanelRemove", 1, 2, true, false},
                 {"btPanelRemove", 1, 2, true, false}};
    for (const auto& step : steps) {
        for (int p = 0; p < step.presses; ++p) Click(step.button);
        EXPECT_EQ(experts(), step.experts) << step.button;
        EXPECT_EQ(add->isEnabled(), step.addable) << step.experts;
        EXPECT_EQ(remove->isEnabled(), step.removable) << step.experts;
        EXPECT_EQ(Find<QTableWidget>("sgPanel")->columnCount(), static_cast<int>(2 + step.experts + 2));
    }
    EXPECT_EQ(Find<QLabel>("lbPanelAgreement")->text(),
              "W Кендалла не вычислен: все эксперты оценили меньше двух общих факторов; согласованность не определена");
    // A level picked in a cell is the expert's; a name typed over is his new name, a taken one refused.
    auto* grid = Find<QTableWidget>("sgPanel");
    grid->scrollToItem(grid->item(FactorIndex("M03"), 0));
    PickItem(Cell(2, "M03"), 7);
    EXPECT_EQ(window->session().assessment().panel.experts[1].level[FactorIndex("M03")], 7);
    auto* name = Find<QLineEdit>("edPanelExpertName");
    // The expert is chosen by a click on his heading.
    const struct {
        int expert;
        QString typed;
        std::vector<std::string> names;
        QStringList errors;
    } renames[] = {{2, "Иванов И. И.", {"Эксперт 1", "Иванов И. И."}, {}},
                   {2, "Эксперт 1", {"Эксперт 1", "Иванов И. И."}, {"Эксперт «Эксперт 1» в панели уже есть"}},
                   {1, "  Петрова ", {"Петрова", "Иванов И. И."}, {}}};
    QHeaderView* header = grid->horizontalHeader();
    for (const auto& rename : renames) {
        MessageBoxCloser closer;
        const int column = 1 + rename.expert;
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
        name->setFocus();
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        TypeText(name, rename.typed);
        QTest::keyClick(name, Qt::Key_Return);
        std::vector<std::string> names;
        for (const PanelExpert& expert : window->session().assessment().panel.experts) names.push_back(expert.name);
        EXPECT_EQ(names, rename.names) << rename.typed.toStdString();
        EXPECT_EQ(closer.texts(), rename.errors);
        for (int k = 0; k < 2; ++k) EXPECT_EQ(grid->horizontalHeaderItem(2 + k)->text().toStdString(), rename.names[k]);
    }
    EXPECT_EQ(window->session().assessment().panel.experts[1].level[FactorIndex("M03")], 7);
}

// A panel of 2^17 rating sets is sampled; "Стоп" pressed at once ends the work with nothing shown.
// A bad table changes nothing.
TEST_F(PanelTab, StopEndsTheBandAndABadTableChangesNothing)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QByteArray table = "factor;А;Б\n";
    for (int f = 0; f < 17; ++f) table += QByteArray(FactorCatalogue[f].id) + ";1;11\n";
    file.write(table);
    file.close();
    view->ImportFrom(file.fileName());
    ASSERT_EQ(window->session().assessment().panel.experts.size(), 2u);
    Click("btPanelBand");
    ASSERT_TRUE(Find<QPushButton>("btPanelStop")->isEnabled());
    Click("btPanelStop");
    view->WaitForEnd();
    EXPECT_FALSE(view->Shown());
    EXPECT_EQ(Find<QLabel>("lbPanelState")->text(), "Расчёт полосы остановлен");
    EXPECT_TRUE(Find<QPushButton>("btPanelBand")->isEnabled());

    // A bad table is refused naming the file, its row and column, and the panel stays as it was.
    const ExpertPanel before = window->session().assessment().panel;
    QTemporaryFile bad(QDir::tempPath() + QStringLiteral("/панельXXXXXX.csv"));
    ASSERT_TRUE(bad.open());
    bad.write("factor;А;Б\nH03;8;12\n");
    bad.close();
    MessageBoxCloser closer;
    view->ImportFrom(bad.fileName());
    EXPECT_EQ(closer.texts(),
              QStringList{QStringLiteral("Файл «%1»: строка 2, столбец 3: «12» — не номер уровня от 1 до 11")
                              .arg(QFileInfo(bad.fileName()).fileName())});
    EXPECT_EQ(window->session().assessment().panel, before);
}

// The report's panel section states what the tab shows, figure for figure, with the names escaped.
TEST_F(PanelTab, TheReportStatesTheTabsFigures)
{
    window->OpenProjectAt(KESTAL_SOURCE_DIR "/examples/workplace.kestal");
    view->ImportFrom(ExamplePanel);
    auto* grid = Find<QTableWidget>("sgPanel");
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    auto* name = Find<QLineEdit>("edPanelExpertName");
    name->setFocus();
    name->selectAll();
    TypeText(name, "<Иванов> & \"Ко\"");
    QTest::keyClick(name, Qt::Key_Return);
    Compute();
    const std::string html = ReportHtml(window->session(), {"07.12.2026 11:20", "", "", ""});
    const auto cells = [](const QTableWidget* table, int row, int from, int to) {
        std::string html = "<tr>";
        for (int column = from; column < to; ++column)
            html += "<td>" + HtmlEscaped(table->item(row, column)->text().toStdString()) + "</td>";
        return html + "</tr>";
    };
    // Every node's band, row for row; every line under the band; the agreement line.
    const auto* band = Find<QTableWidget>("sgPanelBand");
    for (int node = 0; node < NodeCount; ++node)
        EXPECT_NE(html.find(cells(band, node, 0, 7)), std::string::npos) << cells(band, node, 0, 7);
    for (const QString& line : Find<QLabel>("lbPanelBand")->text().split('\n'))
        EXPECT_NE(html.find("<p>" + HtmlEscaped(line.toStdString()) + "</p>"), std::string::npos) << line.toStdString();
    EXPECT_NE(html.find("<p>" + Find<QLabel>("lbPanelAgreement")->text().toStdString() + "</p>"), std::string::npos);
    // Each rated factor's consensus and range as the grid's last two columns.
    int rated = 0;
    for (int row = 0; row < FactorCount; ++row) {
        const int last = grid->columnCount();
        if (grid->item(row, last - 1)->text().isEmpty()) continue;
        ++rated;
        const std::string tail = cells(grid, row, last - 2, last);
        EXPECT_NE(html.find(tail.substr(4)), std::string::npos) << row;
    }
    EXPECT_EQ(rated, 12);
    EXPECT_NE(html.find("<p>Эксперты: &lt;Иванов&gt; &amp; &quot;Ко&quot;, Петрова"), std::string::npos);
    EXPECT_EQ(html.find("<Иванов>"), std::string::npos);
}

}  // namespace
