// The page "Комплекс мер": its building — the measure editor's fields and buttons, the 30 per-factor
// panels, the measure monitor and the simulation parameters of a study — and its study fields and
// listing as a view of the session.
#include "window/MeasurePage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "widgets/FactorPanel.h"
#include "widgets/Layouts.h"
#include "widgets/Monitor.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace kestal {

namespace {

// Columns of a factor panel: id, name, level before, level after, track bar.
constexpr QRect IdPlace{2, 13, 36, 15};
// The name takes the panel's full height: the longest names wrap onto three lines.
constexpr QRect NamePlace{38, 0, 142, 41};
constexpr QRect HeldNamePlace{2, 0, 178, 41};  // a name label that carries the id (H06)
// Wide enough for the longest level text, "Очень, очень высокая".
constexpr QRect BeforePlace{182, 11, 104, 19};
constexpr QRect AfterPlace{290, 11, 104, 19};
constexpr QRect BarPlace{398, 4, 78, 32};
constexpr QColor LockedTextColour{96, 96, 96};

QString Named(const char* prefix, const FactorInfo& factor, const char* suffix = "")
{
    return QLatin1String(prefix) + QLatin1String(factor.id) + QLatin1String(suffix);
}

QStringList Texts(const std::vector<std::string>& lines)
{
    QStringList texts;
    for (const std::string& line : lines) texts << QText(line);
    return texts;
}

}  // namespace

MeasurePage::MeasurePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsAction"));
    QGroupBox* GroupBox4 =
        MakeGroup(this, "GroupBox4", "  Параметры мероприятия  по совершенствованию безопасности ", {0, 4, 513, 316});
    MakeLabel(GroupBox4, "lbNameAct", "Название мероприятия :", QPoint(10, 24));
    edActName = MakeEdit(GroupBox4, "edActName", {160, 20, 190, 21}, "Мероприятие 1");
    MakeLabel(GroupBox4, "lbExpense", "Затраты на внедрение :", QPoint(10, 50));
    edExpense = MakeEdit(GroupBox4, "edExpense", {160, 46, 100, 21}, "0");
    MakeLabel(GroupBox4, "Label7", "(у.е.)", QPoint(266, 50));
    butActIn = MakeButton(GroupBox4, "butActIn", ">>", {428, 18, 75, 25});
    butActIn->setDefault(true);
    butActIn->setEnabled(false);
    butReset = MakeButton(GroupBox4, "butReset", "Сброс", {428, 46, 75, 25});

    pcFactOpt = new QTabWidget(GroupBox4);
    pcFactOpt->setObjectName(QStringLiteral("pcFactOpt"));
    pcFactOpt->setTabPosition(QTabWidget::South);
    pcFactOpt->setUsesScrollButtons(false);
    pcFactOpt->setGeometry(2, 76, 509, 236);
    std::array<QWidget*, GroupCount> contents{};
    std::array<QScrollArea*, GroupCount> measureScrollBoxes{};
    for (int group = 0; group < GroupCount; ++group) {
        QWidget* page = new QWidget;
        page->setObjectName(QStringLiteral("tsOpt") + QLatin1Char(FactorGroups[group].letter));
        pcFactOpt->addTab(page, QText(FactorGroups[group].caption));
        auto* header = new QLabel(QText(MeasureHeaderCaption), page);
        header->setObjectName(QStringLiteral("lbOptHeader") + QLatin1Char(FactorGroups[group].letter));
        header->setTextFormat(Qt::PlainText);
        measureScrollBoxes[group] =
            MakePanelScrollBox(page, QStringLiteral("sbOpt") + QLatin1Char(FactorGroups[group].letter));
        contents[group] = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 2, 0, 0);
        layout->setSpacing(2);
        layout->addWidget(header);
        layout->addWidget(measureScrollBoxes[group], 1, Qt::AlignLeft);
    }

    std::array<int, GroupCount> panelCount{};
    for (std::size_t index = 0; index < FactorCatalogue.size(); ++index) {
        const FactorInfo& factor = FactorCatalogue[index];
        const FactorPanelTexts& texts = PanelTexts(factor);
        MeasureControls& controls = measureControls[index];
        controls.panel = new FactorPanel(contents[factor.group], Named("p", factor, "Opt"), QString());
        controls.panel->setGeometry(0, FactorPanelHeight * panelCount[factor.group]++, FactorPanelWidth,
                                    FactorPanelHeight);
        // A locked panel keeps showing its change: its disabled texts stay readable on the panel colour.
        QPalette palette = controls.panel->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText, LockedTextColour);
        controls.panel->setPalette(palette);
        controls.name = new QLabel(QText(texts.measureName), controls.panel);
        controls.name->setObjectName(Named("lbOpt", factor));
        controls.name->setTextFormat(Qt::PlainText);
        controls.name->setWordWrap(true);
        controls.name->setGeometry(texts.measureIdLabel ? NamePlace : HeldNamePlace);
        if (texts.measureIdLabel) {
            controls.id = new QLabel(QText(texts.measureIdLabel), controls.panel);
            controls.id->setObjectName(Named("lbOpt", factor, "a"));
            controls.id->setTextFormat(Qt::PlainText);
            controls.id->setGeometry(IdPlace);
        }
        const QString level = QText(StartLevelText(factor));
        controls.before = MakeStaticText(controls.panel, "", level, BeforePlace);
        controls.before->setObjectName(Named("st1_", factor));
        controls.after = MakeStaticText(controls.panel, "", level, AfterPlace);
        controls.after->setObjectName(Named("st2_", factor));
        controls.after->setEnabled(false);
        controls.bar = new QSlider(Qt::Horizontal, controls.panel);
        controls.bar->setObjectName(Named("tb", factor));
        controls.bar->setRange(0, LevelCount - 1);
        controls.bar->setSingleStep(index == 0 ? 0 : 1);  // H01 does not move by the arrow keys
        controls.bar->setPageStep(2);
        controls.bar->setTickInterval(1);
        controls.bar->setTickPosition(QSlider::NoTicks);
        controls.bar->setValue(factor.defaultItem);
        controls.bar->setEnabled(false);
        controls.bar->setGeometry(BarPlace);
    }
    for (int group = 0; group < GroupCount; ++group) {
        contents[group]->resize(FactorPanelWidth, FactorPanelHeight * panelCount[group]);
        measureScrollBoxes[group]->setWidget(contents[group]);
    }
    pcFactOpt->setCurrentIndex(0);

    QGroupBox* GroupBox5 = MakeGroup(this, "GroupBox5", " Kestal - Монитор ", {522, 4, 257, 316});
    auto* splitAction = new QSplitter(Qt::Vertical, GroupBox5);
    splitAction->setObjectName(QStringLiteral("Splitter1"));
    splitAction->setGeometry(2, 20, 253, 292);
    tvAction = new QTreeWidget(splitAction);
    tvAction->setObjectName(QStringLiteral("tvAction"));
    tvAction->setHeaderHidden(true);
    // Long change texts are scrolled to, not cut short.
    tvAction->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvAction->header()->setStretchLastSection(false);
    tvAction->setTextElideMode(Qt::ElideNone);
    QPalette treePalette = tvAction->palette();
    treePalette.setColor(QPalette::Base, treePalette.color(QPalette::ToolTipBase));
    treePalette.setColor(QPalette::Text, treePalette.color(QPalette::ToolTipText));
    tvAction->setPalette(treePalette);
    RichEdit3 = MakeMonitor(splitAction, "RichEdit3", false);
    splitAction->setSizes({180, 112});

    QWidget* GroupBox6 = BuildParameters();
    // The page grows with the window: the editor's panels and the monitor take the room above the
    // simulation parameters, which keep their height.
    FollowParent(pcFactOpt, Follow::Width | Follow::Height);
    FollowParent(butActIn, Follow::Right);
    FollowParent(butReset, Follow::Right);
    FollowParent(splitAction, Follow::Width | Follow::Height);
    FollowParent(buttonRunOpt, Follow::Right);
    for (QWidget* box : {static_cast<QWidget*>(GroupBox4), static_cast<QWidget*>(GroupBox5), GroupBox6})
        GrowsFromDesignSize(box);
    GroupBox6->setMaximumHeight(GroupBox6->height());
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 4, 0, 0);
    page->setSpacing(6);
    page->addLayout(Row({{GroupBox4, 2}, {GroupBox5, 1}}, 9), 1);
    page->addWidget(GroupBox6);

    ConnectEditor();
    connect(cbInputKOpt, &QComboBox::editTextChanged, this, &MeasurePage::kEdited);
    connect(cbInputNOpt, &QComboBox::editTextChanged, this, &MeasurePage::nEdited);
    connect(edAllMoney, &QLineEdit::textChanged, this, &MeasurePage::budgetEdited);
    connect(edDamage, &QLineEdit::textChanged, this, &MeasurePage::damageEdited);
    connect(buttonRunOpt, &QPushButton::clicked, this, &MeasurePage::studyRequested);
}

QWidget* MeasurePage::BuildParameters()
{
    QGroupBox* GroupBox6 = MakeGroup(this, "GroupBox6", "  Параметры моделирования  ", {0, 326, 780, 150});
    auto* bevel = new QFrame(GroupBox6);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(5, 18, 181, 117);
    MakeLabel(GroupBox6, "lbInPutKOpt", "Число опытов :", QPoint(25, 22));
    MakeLabel(GroupBox6, "lbInPutK1Opt", "K =", QPoint(67, 40));
    cbInputKOpt = MakeEditableList(GroupBox6, "cbInputKOpt", {95, 36, 49, 21}, KSuggestions(), QStringLiteral("200"));
    MakeLabel(GroupBox6, "lbInPutNOpt", "Число инициаций модели в одном опыте :", {25, 70, 133, 26}, true);
    MakeLabel(GroupBox6, "lbInPutN1Opt", "N =", QPoint(49, 109));
    cbInputNOpt = MakeEditableList(GroupBox6, "cbInputNOpt", {79, 105, 89, 21}, NSuggestions(), QStringLiteral("4000"));
    MakeLabel(GroupBox6, "lbAllMoney",
              "Общая сумма, имеющихся в распоряжении финансовых средств ( у.е.) :", {200, 20, 330, 30}, true);
    edAllMoney = MakeEdit(GroupBox6, "edAllMoney", {540, 22, 100, 21}, "1500");
    MakeLabel(GroupBox6, "lbDamage",
              "Величина среднего ущерба от возможного происшествия ( у.е.) :", {200, 58, 330, 30}, true);
    edDamage = MakeEdit(GroupBox6, "edDamage", {540, 60, 100, 21}, "10000000");
    MakeLabel(GroupBox6, "lbOutTimeOpt", "Время работы программы при заданных K и N :", {200, 100, 330, 30}, true);
    edOutTimeOpt = MakeEdit(GroupBox6, "edOutTimeOpt", {540, 98, 100, 21}, "");
    edOutTimeOpt->setReadOnly(true);
    buttonRunOpt = MakeButton(GroupBox6, "buttonRunOpt", "Запуск моделирования", {650, 110, 120, 25});
    buttonRunOpt->setEnabled(false);
    return GroupBox6;
}

void MeasurePage::Show(const Session& session)
{
    const Assessment& assessment = session.assessment();
    const Presentation& shown = session.state().shown;
    SetListText(cbInputKOpt, QText(assessment.kText));
    SetListText(cbInputNOpt, QText(assessment.nText));
    SetEditText(edOutTimeOpt, QText(session.StudyEstimateText()));
    ShowEditor(session);
    SetEditText(edAllMoney, QText(assessment.budgetText));
    SetEditText(edDamage, QText(assessment.damageText));
    buttonRunOpt->setEnabled(shown.studyReady);
    if (listingShown_ != shown.study.listing) {
        listingShown_ = shown.study.listing;
        WriteLines(RichEdit3, Texts(listingShown_));
    }
}

void MeasurePage::Forget(const Session& session)
{
    tvAction->clear();
    treeExpansionsShown_ = session.state().shown.treeExpansions;
    listingShown_.clear();
}

void MeasurePage::ClickRun()
{
    if (buttonRunOpt->isEnabled()) buttonRunOpt->click();
}

QList<QWidget*> MeasurePage::TypedFields() const { return {cbInputKOpt, cbInputNOpt, edAllMoney, edDamage}; }

}  // namespace kestal
