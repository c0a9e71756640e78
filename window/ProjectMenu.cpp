// The menu "File": new, open, save, save as, recent files and exit; the title with the file's name
// and the unsaved mark; the question before anything unsaved is lost; settings kept between starts.
#include "window/TFormKestal.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>

#include <algorithm>

#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TotalsPage.h"
#include "window/UndoHistory.h"
#include "project/ProjectFile.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

constexpr int MaxRecentFiles = 8;
const QString RecentFilesKey = QStringLiteral("recentFiles");
const QString LastFolderKey = QStringLiteral("lastFolder");
const QString GeometryKey = QStringLiteral("geometry");
const QString ProjectFilter = QStringLiteral("Проекты Kestal (*.kestal)");

QSettings KestalSettings() { return QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal 2.0")); }

}  // namespace

void TFormKestal::BuildFileMenu(QMenu* file)
{
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys, auto handler) {
        QAction* action = file->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add("acNew", QStringLiteral("Новый"), QKeySequence::New, [this] { NewProject(); });
    add("acOpen", QStringLiteral("Открыть…"), QKeySequence::Open, [this] { OpenProject(); });
    add("acSave", QStringLiteral("Сохранить"), QKeySequence::Save, [this] { SaveProject(); });
    add("acSaveAs", QStringLiteral("Сохранить как…"), QKeySequence::SaveAs, [this] { SaveProjectAs(); });
    recentMenu_ = file->addMenu(QStringLiteral("Недавние файлы"));
    recentMenu_->setObjectName(QStringLiteral("mnRecent"));
    file->addSeparator();
    add("acExportReport", QStringLiteral("Экспорт отчёта…"), QKeySequence(), [this] { ExportReport(); });
    add("acPrintReport", QStringLiteral("Печать…"), QKeySequence::Print, [this] { PrintReport(); });
    file->addSeparator();
    add("acExit", QStringLiteral("Выход"), QKeySequence::Quit, [this] { close(); });
    ShowRecentFiles();
}

bool TFormKestal::Unsaved() const { return history_->Unsaved(); }

void TFormKestal::MarkSaved(const QString& path)
{
    projectPath_ = path;
    untitledName_.clear();
    savedSettings_ = session_.assessment().settings;
    history_->MarkSaved();
    ShowTitle();
}

void TFormKestal::ShowTitle()
{
    const QString title = QText(ApplicationTitle);
    const QString name = !projectPath_.isEmpty()   ? QFileInfo(projectPath_).fileName()
                         : untitledName_.isEmpty() ? QStringLiteral("Новая оценка")
                                                   : untitledName_;
    const bool unsaved = Unsaved();
    // The toolkit shows "*" in place of "[*]" while the window is marked modified.
    setWindowTitle(projectPath_.isEmpty() && untitledName_.isEmpty() && !unsaved
                       ? title
                       : name + QStringLiteral("[*] — ") + title);
    setWindowModified(unsaved);
}

bool TFormKestal::MayDiscard()
{
    if (!Unsaved()) return true;
    const auto answer =
        QMessageBox::question(this, QText(ApplicationTitle), QStringLiteral("Сохранить изменения?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return SaveProject();
    return answer == QMessageBox::Discard;
}

void TFormKestal::NewProject()
{
    if (!MayDiscard()) return;
    Session fresh(&session_.clock(), UiNumberLocale(), UiNumberLocale());
    // A new assessment starts as the first showing starts one: T03 on the questionnaire's level.
    fresh.Activate();
    ShowLoadedSession(fresh.state(), QString());
}

void TFormKestal::OpenProject()
{
    if (!MayDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Открыть проект"),
                                                      KestalSettings().value(LastFolderKey).toString(), ProjectFilter);
    if (!path.isEmpty()) OpenProjectAt(path);
}

void TFormKestal::OpenProjectAt(const QString& path)
{
    SessionState opened;
    // A file that is not a sound project is refused whole: nothing in the window changes. A file
    // that is gone leaves the recent list.
    if (!Guarded(this, [&] { opened = OpenProjectFile(Utf8(path)); })) {
        if (!QFileInfo::exists(path)) ForgetFile(path);
        return;
    }
    ShowLoadedSession(std::move(opened), path);
    RememberFile(path);
}

void TFormKestal::OpenFromCommandLine(const QStringList& arguments)
{
    // The first argument after the program's name that is no option is the file to open; the
    // toolkit's own options have been taken out of the list already.
    const auto file = std::find_if(arguments.begin() + std::min<qsizetype>(1, arguments.size()), arguments.end(),
                                   [](const QString& argument) { return !argument.startsWith(QLatin1Char('-')); });
    if (file == arguments.end()) return;
    OpenProjectAt(*file);
    openedBeforeShowing_ = !projectPath_.isEmpty() && activation_ == Activation::NotShown;
}

bool TFormKestal::SaveProject()
{
    if (projectPath_.isEmpty()) return SaveProjectAs();
    return SaveProjectTo(projectPath_);
}

bool TFormKestal::SaveProjectTo(const QString& path)
{
    // The document takes the path and the title only when the file was written.
    if (!Guarded(this, [&] { SaveProjectFile(Utf8(path), ProjectJson(session_.state())); })) return false;
    MarkSaved(path);
    RememberFile(path);
    return true;
}

bool TFormKestal::SaveProjectAs()
{
    const QString folder = projectPath_.isEmpty() ? KestalSettings().value(LastFolderKey).toString() : projectPath_;
    // The dialog asks nothing: the name gets its extension first, then the question is asked of the
    // file that would be replaced.
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить проект"), folder, ProjectFilter,
                                                nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return false;
    if (!path.endsWith(QLatin1String(ProjectExtension), Qt::CaseInsensitive)) path += QLatin1String(ProjectExtension);
    if (QFileInfo(path).exists()) {
        const auto answer = QMessageBox::question(
            this, QText(ApplicationTitle),
            QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(QFileInfo(path).fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    return SaveProjectTo(path);
}

void TFormKestal::ShowLoadedSession(SessionState state, const QString& path)
{
    session_.Load(std::move(state));
    // What was done before cannot be undone into another assessment.
    history_->Start();
    // Everything the window showed of the previous session goes.
    modeling_->Forget();
    measures_->Forget(session_);
    totals_->Forget();
    ShowSession(true);
    MarkSaved(path);
}

// The recent files as the settings hold them, at most eight: a longer list (written by hand or by
// another program) is cut when read.
QStringList TFormKestal::RecentFiles()
{
    return KestalSettings().value(RecentFilesKey).toStringList().mid(0, MaxRecentFiles);
}

void TFormKestal::ForgetFile(const QString& path)
{
    QStringList recent = RecentFiles();
    if (recent.removeAll(path) == 0) return;
    KestalSettings().setValue(RecentFilesKey, recent);
    ShowRecentFiles();
}

void TFormKestal::RememberFile(const QString& path)
{
    QSettings settings = KestalSettings();
    QStringList recent = RecentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > MaxRecentFiles) recent.removeLast();
    settings.setValue(RecentFilesKey, recent);
    settings.setValue(LastFolderKey, QFileInfo(path).absolutePath());
    ShowRecentFiles();
}

void TFormKestal::ShowRecentFiles()
{
    recentMenu_->clear();
    const QStringList recent = RecentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (MayDiscard()) OpenProjectAt(path);
        });
    }
    recentMenu_->setEnabled(!recent.isEmpty());
}

void TFormKestal::RestoreGeometry()
{
    const QByteArray geometry = KestalSettings().value(GeometryKey).toByteArray();
    if (!geometry.isEmpty()) restoreGeometry(geometry);
}

void TFormKestal::closeEvent(QCloseEvent* event)
{
    if (Working()) {
        const auto answer = QMessageBox::question(this, QText(ApplicationTitle),
                                                  QStringLiteral("Идёт расчёт. Остановить его и закрыть программу?"));
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
        work_->RequestStop();
        work_->WaitForEnd();
    }
    if (!MayDiscard()) {
        event->ignore();
        return;
    }
    KestalSettings().setValue(GeometryKey, saveGeometry());
    event->accept();
}

}  // namespace kestal
