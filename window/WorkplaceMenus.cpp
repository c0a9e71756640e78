// The menu entries of the comparison and of the summary of workplaces, their background work, and
// a workplace of the summary opened as a new assessment.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>

#include <memory>
#include <optional>

#include "analysis/FactorImportance.h"
#include "analysispage/CompareView.h"
#include "analysispage/SummaryView.h"
#include "window/TFormKestal.h"
#include "window/UndoHistory.h"
#include "project/ProjectFile.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/KestalError.h"
#include "sheets/TableFile.h"

namespace kestal {

void TFormKestal::AddWorkplaceActions(QMenu* file, QMenu* tools)
{
    QAction* compare = tools->addAction(QStringLiteral("Сравнить с…"));
    compare->setObjectName(QStringLiteral("acCompare"));
    connect(compare, &QAction::triggered, this, Guard(this, [this] { CompareWith(); }));
    QAction* saved = tools->addAction(QStringLiteral("Сравнить с сохранённой версией"));
    saved->setObjectName(QStringLiteral("acCompareSaved"));
    connect(saved, &QAction::triggered, this, Guard(this, [this] { CompareWithSaved(); }));
    auto* summary = new QAction(QStringLiteral("Сводная оценка рабочих мест…"), file);
    summary->setObjectName(QStringLiteral("acWorkplaceSummary"));
    connect(summary, &QAction::triggered, this, Guard(this, [this] { SummariseWorkplaces(); }));
    QAction* before = file->findChild<QAction*>(QStringLiteral("acExportReport"));
    if (before) {
        file->insertAction(before, summary);
        file->insertSeparator(before);
    } else {
        file->addAction(summary);
    }
}

void TFormKestal::CompareWith()
{
    if (Working()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Сравнить с проектом"), projectPath_,
                                                      QStringLiteral("Проекты Kestal (*.kestal)"));
    if (!path.isEmpty()) CompareWithFile(path);
}

void TFormKestal::CompareWithFile(const QString& path)
{
    if (Working()) return;
    NetworkInputs a;
    if (!Guarded(this, [&] { a = OpenProjectFile(Utf8(path)).assessment.RatingInputs(); })) return;
    CompareInBackground(a, QFileInfo(path).fileName());
}

void TFormKestal::CompareWithSaved()
{
    if (Working()) return;
    const QString name = projectPath_.isEmpty() ? QStringLiteral("новая оценка") : QFileInfo(projectPath_).fileName();
    CompareInBackground(InputsOf(savedSettings_), QStringLiteral("сохранённая версия (") + name + QStringLiteral(")"));
}

void TFormKestal::CompareInBackground(const NetworkInputs& reference, const QString& nameA)
{
    const auto a = std::make_shared<NetworkInputs>(reference);
    const auto b = std::make_shared<NetworkInputs>(session_.assessment().RatingInputs());
    auto comparison = std::make_shared<AssessmentComparison>();
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    StartWork();
    work_->Start(
        [a, b, comparison](const WorkControl& control) {
            *comparison =
                CompareAssessments(*a, *b, {}, [&](int64_t done, int64_t total) { control.Report(done, total); });
        },
        [this, nameA, a, b, comparison](BackgroundWork::Outcome outcome, const QString& error) {
            ProgressBar1->hide();
            EndWork();
            if (outcome == BackgroundWork::Outcome::Stopped)
                statusBar()->showMessage(QStringLiteral("Сравнение остановлено."));
            if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
            if (outcome != BackgroundWork::Outcome::Completed) return;
            (new CompareView(this, nameA, QStringLiteral("текущая оценка"), *a, *b, *comparison))->show();
        });
}

void TFormKestal::SummariseWorkplaces()
{
    if (Working()) return;
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Сводная оценка рабочих мест"), QString(),
                                     QStringLiteral("Таблицы (*.csv *.tsv *.txt *.xlsx);;Все файлы (*)"));
    if (!path.isEmpty()) SummariseFile(path);
}

void TFormKestal::SummariseFile(const QString& path)
{
    if (Working()) return;
    auto list = std::make_shared<WorkplaceList>();
    const bool read = Guarded(this, [&] {
        const TableCells cells = ReadTableFile(Utf8(path));
        try {
            *list = ReadWorkplaces(cells);
        } catch (const KestalError& error) {
            throw KestalError("Файл «" + Utf8(path) + "» не прочитан: " + error.what());
        }
    });
    if (!read) return;
    auto assessed = std::make_shared<std::optional<std::vector<WorkplaceAssessment>>>();
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    StartWork();
    work_->Start(
        [list, assessed](const WorkControl& control) {
            *assessed = AssessWorkplaces(list->workplaces, true, [&](std::size_t done, std::size_t total) {
                control.Report(static_cast<int64_t>(done), static_cast<int64_t>(total));
                return true;
            });
        },
        [this, path, list, assessed](BackgroundWork::Outcome outcome, const QString& error) {
            ProgressBar1->hide();
            EndWork();
            if (outcome == BackgroundWork::Outcome::Stopped ||
                (outcome == BackgroundWork::Outcome::Completed && !*assessed))
                statusBar()->showMessage(QStringLiteral("Сводная оценка остановлена."));
            if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
            if (outcome != BackgroundWork::Outcome::Completed || !*assessed) return;
            (new SummaryView(this, QFileInfo(path).fileName(), std::move(*list), std::move(**assessed),
                             [this](const Workplace& workplace) { Guarded(this, [&] { OpenWorkplace(workplace); }); }))
                ->show();
        });
}

void TFormKestal::OpenWorkplace(const Workplace& workplace)
{
    if (Working() || !MayDiscard()) return;
    Session fresh(&session_.clock(), UiNumberLocale(), UiNumberLocale());
    const SettingsTable untouched = fresh.assessment().settings;
    for (const FactorInfo& factor : FactorCatalogue) {
        const int level = LevelNumberOf(workplace.inputs.slot[factor.slot]);
        if (level > 0 && workplace.inputs.slot[factor.slot] != fresh.assessment().settings.row[factor.slot].Value)
            fresh.SelectLevel(CatalogueIndex(factor), level - 1);
    }
    ShowLoadedSession(fresh.state(), QString());
    // A new assessment that is not saved yet: its levels differ from a new one's. The title names it.
    savedSettings_ = untouched;
    if (!(session_.assessment().settings == untouched)) history_->MarkNeverSaved();
    untitledName_ =
        workplace.name.empty() ? QStringLiteral("Рабочее место, строка %1").arg(workplace.row) : QText(workplace.name);
    ShowTitle();
    statusBar()->showMessage(QStringLiteral("Рабочее место «%1» (строка %2) открыто как новая оценка.")
                                 .arg(QText(workplace.name))
                                 .arg(workplace.row));
    // The window comes to the front, over the summary it was opened from.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

}  // namespace kestal
