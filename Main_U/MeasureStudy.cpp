// The measure study of the page "Комплекс мер": its run with the progress bar, the listing in the
// measure monitor, the totals page afterwards, and when the run button may be used.
#include "Main_U/TFormKestal.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

#include "ActSelect/Study.h"
#include "ActSelect/Totals.h"
#include "Main_U/Guard.h"
#include "Main_U/Monitor.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"

namespace {

QStringList Texts(const std::vector<std::string>& lines)
{
    QStringList texts;
    for (const std::string& line : lines) texts << Q(line);
    return texts;
}

}  // namespace

void TFormKestal::ConnectStudyAndTotals()
{
    connect(buttonRunOpt, &QPushButton::clicked, this, Guard(this, [this] { buttonRunOptClick(); }));
    connect(edAllMoney, &QLineEdit::textChanged, this, Guard(this, [this] { edAllMoneyChange(); }));
    connect(edDamage, &QLineEdit::textChanged, this, Guard(this, [this] { edDamageChange(); }));
    connect(buttMore, &QPushButton::clicked, this, Guard(this, [this] { buttMoreClick(); }));
    connect(buttLess, &QPushButton::clicked, this, Guard(this, [this] { buttLessClick(); }));
}

void TFormKestal::buttonRunOptClick()
{
    const NumberLocale locale = UiNumberLocale();
    const StudyTexts texts{S(cbInputKOpt->currentText()), S(cbInputNOpt->currentText()), S(edAllMoney->text()),
                           S(edDamage->text())};
    // Refusals and unreadable numbers stop the study before anything changes.
    const StudyParameters parameters = CheckStudy(measures, texts, locale);

    ProgressBar1->setValue(0);
    ProgressBar1->show();
    WriteLines(RichEdit3, QStringList{Q(ListingTitle)});
    // The window stays painted and the bar moves, but no user input is taken until the study ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    StudyProgress progress;
    progress.step = [this](int position, int maximum) {
        ProgressBar1->setMaximum(maximum);
        ProgressBar1->setValue(std::min(position, maximum));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    progress.experiment = [](int32_t) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    const auto hideProgress = [this] {
        ProgressBar1->hide();
        ProgressBar1->setValue(0);
    };
    try {
        RunStudy(measures, settings, net, series, parameters, progress);
    } catch (...) {
        // What the study computed so far stays in the store; the bar goes.
        hideProgress();
        throw;
    }

    WriteLines(RichEdit3, Texts(StudyListing(measures, texts.budgetText, locale)));
    PageControl1->setTabVisible(PageControl1->indexOf(tsResaltAct), true);
    lbTotalMoney->setText(Q(TotalMoneyLabel(texts.budgetText)));
    lbTotDamage->setText(Q(TotalDamageLabel(texts.damageText)));
    ShowTotals(CompactTotals(measures, texts.budgetText, locale));
    ShowTotalsButtons(false);
    hideProgress();
    pcFactOpt->setEnabled(false);
    buttonRunOpt->setEnabled(false);
}

void TFormKestal::edAllMoneyChange()
{
    if (edAllMoney->text().isEmpty()) return;
    buttonRunOpt->setEnabled(RunButtonEnabled(S(edAllMoney->text()), S(edDamage->text()), measures.MeasureCount));
}

void TFormKestal::edDamageChange()
{
    if (edDamage->text().isEmpty()) return;
    buttonRunOpt->setEnabled(RunButtonEnabled(S(edAllMoney->text()), S(edDamage->text()), measures.MeasureCount));
}
