// The questionnaire window: its controls built from the criteria table, the report rebuild and "Применить".
#include "window/TFormSimpleDo.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

#include "window/RowTabBar.h"
#include "widgets/Guard.h"
#include "widgets/Monitor.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace kestal {

namespace {

// A page control with its tabs in rows above it.
QWidget* withRowTabs(QTabWidget* pages)
{
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* tabs = new RowTabBar(pages);
    tabs->setObjectName(pages->objectName() + "Tabs");
    layout->addWidget(tabs);
    layout->addWidget(pages, 1);
    return holder;
}

}  // namespace

TFormSimpleDo::TFormSimpleDo(QWidget* owner, Apply apply)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      apply_(std::move(apply))
{
    setObjectName("FormSimpleDo");
    setWindowTitle(QText("Сложность алгоритмов оператора"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(760, 418);

    auto* pcSimpleDo = new QTabWidget;
    pcSimpleDo->setObjectName("pcSimpleDo");
    std::array<QTabWidget*, QuestionnairePages.size()> pageControls{};
    for (size_t p = 0; p < QuestionnairePages.size(); ++p) {
        pageControls[p] = new QTabWidget;
        pageControls[p]->setObjectName(QText(QuestionnairePages[p].controlName));
        pcSimpleDo->addTab(withRowTabs(pageControls[p]), QText(QuestionnairePages[p].caption));
    }
    for (size_t n = 0; n < Criteria.size(); ++n)
        pageControls[Criteria[n].page]->addTab(buildCriterion(Criteria[n], answerButtons[n]), QText(Criteria[n].tab));

    reSimpleDo = MakeMonitor(this, "reSimpleDo", true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(reSimpleDo, 1);
    bottom->addWidget(buildInfoPanel());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(withRowTabs(pcSimpleDo), 1);
    layout->addLayout(bottom);

    TakeWheelOnlyWithFocusWithin(this);
    // The report stands from the start; each activation rebuilds it again.
    FormActivate();
}

QWidget* TFormSimpleDo::buildCriterion(const Criterion& criterion, std::array<QRadioButton*, AnswerClassCount>& buttons)
{
    const QString stem = QText(criterion.stem);
    auto* box = new QGroupBox(QText(criterion.caption));
    box->setObjectName("gb" + stem);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    int row = 0;
    if (criterion.extraLine) {
        auto* line = new QLabel(QText(criterion.extraLine));
        line->setObjectName("lb" + stem + "Line");
        line->setWordWrap(true);
        grid->addWidget(line, row++, 0, 1, 2);
    }
    for (int k = 0; k < AnswerClassCount; ++k) {
        const Answer& answer = criterion.answers[k];
        if (!answer.text) continue;
        auto* button = new QRadioButton;
        button->setObjectName("rb" + stem + AnswerClassSuffixes[k]);
        if (answer.isLabel) {
            auto* label = new QLabel(QText(answer.text));
            label->setObjectName("lb" + stem + AnswerClassSuffixes[k]);
            label->setWordWrap(true);
            label->setBuddy(button);
            label->installEventFilter(this);
            grid->addWidget(button, row, 0, Qt::AlignTop);
            grid->addWidget(label, row, 1);
        } else {
            button->setText(QText(answer.text));
            grid->addWidget(button, row, 0, 1, 2);
        }
        connect(button, &QRadioButton::clicked, this, Guard(this, [this] { FormActivate(); }));
        buttons[k] = button;
        ++row;
    }
    buttons[0]->setChecked(true);
    grid->setRowStretch(row, 1);

    auto* tab = new QWidget;
    tab->setObjectName("ts" + stem);
    (new QVBoxLayout(tab))->addWidget(box);
    return tab;
}

QWidget* TFormSimpleDo::buildInfoPanel()
{
    auto* plSimDoInfo = new QFrame;
    plSimDoInfo->setObjectName("plSimDoInfo");
    plSimDoInfo->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* lbSimpleDoInfo = new QLabel(QText("Сложность алгоритмов оператора"));
    lbSimpleDoInfo->setObjectName("lbSimpleDoInfo");
    lbSimpleDoInfo->setAlignment(Qt::AlignCenter);
    plSimpleDoInfo = new QLabel;
    plSimpleDoInfo->setObjectName("plSimpleDoInfo");
    plSimpleDoInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    plSimpleDoInfo->setAlignment(Qt::AlignCenter);
    plSimpleDoInfo->setAutoFillBackground(true);
    QPalette white = plSimpleDoInfo->palette();
    white.setColor(QPalette::Window, Qt::white);
    plSimpleDoInfo->setPalette(white);
    auto* info = new QVBoxLayout(plSimDoInfo);
    info->addWidget(lbSimpleDoInfo);
    info->addWidget(plSimpleDoInfo);

    auto* butAppSimDO = new QPushButton(QText("Применить"));
    butAppSimDO->setObjectName("butAppSimDO");
    // Not a default button: Enter on an answer must not apply the rating and close the window.
    butAppSimDO->setAutoDefault(false);
    connect(butAppSimDO, &QPushButton::clicked, this, Guard(this, [this] { butAppSimDOClick(); }));

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plSimDoInfo);
    layout->addStretch(1);
    layout->addWidget(butAppSimDO, 0, Qt::AlignRight);
    return column;
}

QuestionnaireAnswers TFormSimpleDo::SelectedAnswers() const
{
    QuestionnaireAnswers answers{};
    for (size_t n = 0; n < Criteria.size(); ++n)
        for (int k = 0; k < AnswerClassCount; ++k)
            if (answerButtons[n][k] && answerButtons[n][k]->isChecked()) answers[n] = static_cast<uint8_t>(k);
    return answers;
}

void TFormSimpleDo::FormActivate()
{
    const QuestionnaireAnswers answers = SelectedAnswers();
    QStringList report;
    for (const std::string& line : QuestionnaireReport(answers)) report << QText(line);
    WriteLines(reSimpleDo, report);
    plSimpleDoInfo->setText(QText(QuestionnaireRating(answers)));
}

void TFormSimpleDo::butAppSimDOClick()
{
    apply_(SelectedAnswers());
    close();
}

bool TFormSimpleDo::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) Guarded(this, [this] { FormActivate(); });
    return QDialog::event(event);
}

// Enter presses the focused button, if any, and is otherwise ignored.
void TFormSimpleDo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A click on an answer's label answers with the button beside it.
bool TFormSimpleDo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->buddy())
            if (auto* button = qobject_cast<QAbstractButton*>(label->buddy()))
                button->click();  // runs the button's own guarded handler
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kestal
