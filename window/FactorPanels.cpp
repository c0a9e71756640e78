// The factor panels of the page "Моделирование": four group pages of panels with their level lists,
// the factor help in the monitor, and the levels picked or typed, sent up.
#include "window/ModelingPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "widgets/FactorPanel.h"
#include "widgets/Guard.h"
#include "widgets/Layouts.h"
#include "widgets/Monitor.h"
#include "widgets/Pictures.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace kestal {

namespace {

constexpr int HeaderHeight = 26;
// Between the T03 panel's caption and its list.
constexpr QRect QuestionnaireOpenerPlace{274, 10, 50, 21};

const char* const PageNames[GroupCount] = {"tsHuman", "tsMashine", "tsEnvironment", "tsTechnology"};
const char* const HeaderNames[GroupCount] = {"pHuman", "pMashine", "pEnvironment", "pTechnology"};
const char* const ScrollBoxNames[GroupCount] = {"ScrollBox2", "ScrollBox3", "ScrollBox4", "ScrollBox5"};

QStringList ItemsOf(const FactorInfo& factor)
{
    QStringList items;
    for (const char* item : *factor.wording) items << QText(item);
    return items;
}

}  // namespace

QWidget* ModelingPage::BuildFactorGroup()
{
    QGroupBox* gbFactors =
        MakeGroup(this, "gbFactors", " Исследуемые факторы системы Человек-Машина-Среда (ЧМС) ", {0, 8, 513, 249});
    pcFactors = new QTabWidget(gbFactors);
    pcFactors->setObjectName(QStringLiteral("pcFactors"));
    pcFactors->setGeometry(2, 24, 509, 223);
    pcFactors->setUsesScrollButtons(false);

    std::array<QWidget*, GroupCount> contents{};
    std::array<QLabel*, GroupCount> factorHeaders{};
    std::array<QScrollArea*, GroupCount> factorScrollBoxes{};
    for (int group = 0; group < GroupCount; ++group) {
        QWidget* page = new QWidget;
        page->setObjectName(QString::fromLatin1(PageNames[group]));
        pcFactors->addTab(page, GroupPicture(group), QText(FactorGroups[group].caption));
        factorPages[group] = page;
        factorHeaders[group] = new QLabel(QText(FactorHeaderCaption), page);
        factorHeaders[group]->setObjectName(QString::fromLatin1(HeaderNames[group]));
        factorHeaders[group]->setTextFormat(Qt::PlainText);
        factorHeaders[group]->setAlignment(Qt::AlignCenter);
        factorScrollBoxes[group] = MakePanelScrollBox(page, QString::fromLatin1(ScrollBoxNames[group]));
        contents[group] = new QWidget;
    }

    QFont listFont = font();
    listFont.setPixelSize(12);
    std::array<int, GroupCount> panelCount{};
    for (std::size_t index = 0; index < FactorCatalogue.size(); ++index) {
        const FactorInfo& factor = FactorCatalogue[index];
        const FactorPanelTexts& texts = PanelTexts(factor);
        auto* panel = new FactorPanel(contents[factor.group], QStringLiteral("p") + QLatin1String(factor.id),
                                      QText(texts.panelCaption));
        panel->setGeometry(0, texts.panelTop, FactorPanelWidth, FactorPanelHeight);
        for (const NameLabel& name : texts.nameLabels) {
            if (!name.text) continue;
            auto* label = new QLabel(QText(name.text), panel);
            label->setTextFormat(Qt::PlainText);
            label->adjustSize();
            label->move(name.left, name.top);
            // The panel takes the clicks on its name.
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        auto* list = MakeEditableList(panel, "", {328, 8, 145, 21}, ItemsOf(factor), QString());
        list->setObjectName(QStringLiteral("cb") + QLatin1String(factor.id));
        list->setFont(listFont);
        factorControls[index] = {panel, list};
        ++panelCount[factor.group];
    }

    // Each page: the header strip across the top, the scrolling area of its panels below it.
    for (int group = 0; group < GroupCount; ++group) {
        contents[group]->resize(FactorPanelWidth, FactorPanelHeight * panelCount[group]);
        factorScrollBoxes[group]->setWidget(contents[group]);
        // Column titles over the panels: as wide as their scroll box, wherever the page grows.
        factorHeaders[group]->setFixedSize(PanelScrollBoxWidth, HeaderHeight);
        auto* layout = new QVBoxLayout(factorPages[group]);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(factorHeaders[group], 0, Qt::AlignLeft);
        layout->addWidget(factorScrollBoxes[group], 1, Qt::AlignLeft);
    }
    pcFactors->setCurrentWidget(factorPages[3]);
    // The panels' scroll boxes grow downwards with the page: more panels in view.
    FollowParent(pcFactors, Follow::Width | Follow::Height);
    return gbFactors;
}

void ModelingPage::ConnectFactorPanels()
{
    for (int index = 0; index < FactorCount; ++index) {
        const FactorControls& controls = factorControls[index];
        connect(controls.panel, &FactorPanel::clicked, this,
                Guard(this, [this, index] { ShowFactorHelp(index, HelpForm::Panel); }));
        // A pick of an item: the list's click comes just before its change.
        connect(controls.list, &QComboBox::activated, this, [this, index](int item) {
            ShowFactorHelp(index, HelpForm::List);
            emit levelChosen(index, item);
        });
        connect(controls.list->lineEdit(), &QLineEdit::textEdited, this,
                [this, index](const QString& text) { FactorListEdited(index, text); });
    }
    connect(pcFactors, &QTabWidget::currentChanged, this, [this] { FactorPageChanged(); });
    const int t03 = CatalogueIndex(*FindFactor("T03"));
    FactorPanel* pT03 = factorControls[t03].panel;
    connect(pT03, &FactorPanel::doubleClicked, this, &ModelingPage::questionnaireRequested);
    // The panel says how its questionnaire opens, and opens it with a click as well.
    auto* opener = new QToolButton(pT03);
    opener->setObjectName(QStringLiteral("btT03Questionnaire"));
    opener->setAutoRaise(true);
    opener->setText(QStringLiteral("анкета…"));
    opener->setToolTip(QStringLiteral("Анкета напряжённости труда: двойной щелчок по панели или кнопка «анкета…»"));
    opener->setGeometry(QuestionnaireOpenerPlace);
    connect(opener, &QToolButton::clicked, this, &ModelingPage::questionnaireRequested);
    pT03->setToolTip(opener->toolTip());
}

void ModelingPage::ShowFactorHelp(int factor, HelpForm form)
{
    const FactorInfo& info = FactorCatalogue[factor];
    for (int other = 0; other < FactorCount; ++other)
        if (FactorCatalogue[other].group == info.group)
            factorControls[other].panel->setColour(other == factor ? HighlightColour() : LightColour());
    WriteLines(reHelp, HelpLines(info, form));
}

void ModelingPage::ShowFactorPanel(int factor)
{
    QWidget* page = factorPages[FactorCatalogue[factor].group];
    pcFactors->setCurrentWidget(page);
    page->findChild<QScrollArea*>()->ensureWidgetVisible(factorControls[factor].panel, 0, 0);
    ShowFactorHelp(factor, HelpForm::Panel);
}

void ModelingPage::FactorListEdited(int factor, const QString& text)
{
    QComboBox* list = factorControls[factor].list;
    QLineEdit* edit = list->lineEdit();
    const int cursor = edit->cursorPosition();
    {
        // Selecting an item (or none) from here is no change of its own; the typed text stays.
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        if (edit->text() != text) edit->setText(text);
        edit->setCursorPosition(cursor);
    }
    emit levelChosen(factor, list->currentIndex());
}

void ModelingPage::FactorPageChanged()
{
    reHelp->clear();
    // The scrolling areas keep their width of 501 pixels on every page: MakePanelScrollBox fixes it.
    for (const FactorControls& controls : factorControls) controls.panel->setColour(LightColour());
}

void ModelingPage::ShowFactorLists(const Session& session, bool force)
{
    for (int factor = 0; factor < FactorCount; ++factor)
        if (force || factorControls[factor].list->currentIndex() >= 0) ShowFactorList(session, factor);
}

void ModelingPage::ShowFactorList(const Session& session, int factor)
{
    QComboBox* list = factorControls[factor].list;
    const int level = RatedItem(session.assessment().settings, FactorCatalogue[factor]);
    if (list->currentIndex() == level) return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(level);
}

}  // namespace kestal
