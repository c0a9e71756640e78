// The expert panel tab: the grid of the experts' levels, the agreement, the consensus applied to the
// ratings, CSV import and export, and the band worked out off the interface thread.
#include "analysispage/ExpertPanelView.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <vector>

#include "analysis/ExpertPanelCsv.h"
#include "analysis/PanelConcordance.h"
#include "analysispage/PanelBandView.h"
#include "analysispage/PanelGrid.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// A panel's table is small; anything longer is not one.
constexpr qint64 MostCsvBytes = 1 << 20;
const QString CsvFilter = QStringLiteral("Таблицы CSV (*.csv);;Все файлы (*)");

}  // namespace

ExpertPanelView::ExpertPanelView(const Session& session) : AnalysisView(session)
{
    setObjectName(QStringLiteral("tsPanel"));
    const auto button = [](const char* text, const char* name, const char* tip = nullptr) {
        auto* b = new QPushButton(QText(text));
        b->setObjectName(QString::fromLatin1(name));
        if (tip) b->setToolTip(QText(tip));
        return b;
    };
    add_ = button("Добавить эксперта", "btPanelAdd", "Новый эксперт без оценок; без панели — панель из двух экспертов");
    remove_ = button("Удалить эксперта", "btPanelRemove", "Удаляет выбранного эксперта (в панели не меньше двух)");
    rename_ = button("Переименовать", "btPanelRename", "Даёт выбранному эксперту набранное имя");
    import_ = button("Импорт CSV…", "btPanelImport");
    export_ = button("Экспорт CSV…", "btPanelExport");
    clear_ = button("Удалить панель", "btPanelClear");
    apply_ = button("Применить согласованные уровни", "btPanelApply",
                    "Оценки факторов, которые оценил хотя бы один эксперт, становятся медианой оценок экспертов");
    expert_ = new QComboBox;
    expert_->setObjectName(QStringLiteral("cbPanelExpert"));
    expert_->setMinimumContentsLength(14);
    expert_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("edPanelExpertName"));
    name_->setMaxLength(60);
    name_->setPlaceholderText(QStringLiteral("имя эксперта"));

    grid_ = new PanelGrid([this](int expert, int factor, int level) {
        ChangePanel([&](ExpertPanel& panel) {
            if (expert < static_cast<int>(panel.experts.size())) panel.experts[expert].level[factor] = level;
        });
    });

    agreement_ = new QLabel;
    agreement_->setObjectName(QStringLiteral("lbPanelAgreement"));
    agreement_->setWordWrap(true);
    agreement_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* experts = new QHBoxLayout;
    experts->addWidget(add_);
    experts->addWidget(remove_);
    experts->addWidget(expert_, 1);
    experts->addWidget(name_, 1);
    experts->addWidget(rename_);
    auto* files = new QHBoxLayout;
    files->addWidget(import_);
    files->addWidget(export_);
    files->addWidget(clear_);
    files->addStretch(1);
    files->addWidget(apply_);
    auto* left = new QVBoxLayout;
    left->addLayout(experts);
    left->addLayout(files);
    left->addWidget(grid_, 1);
    left->addWidget(agreement_);

    band_ = new PanelBandView(session);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left, 5);
    layout->addWidget(band_, 4);

    connect(add_, &QPushButton::clicked, this, Guard(this, [this] { AddExpert(); }));
    connect(remove_, &QPushButton::clicked, this, Guard(this, [this] { RemoveExpert(); }));
    connect(rename_, &QPushButton::clicked, this, Guard(this, [this] { RenameExpert(); }));
    connect(name_, &QLineEdit::returnPressed, this, Guard(this, [this] { RenameExpert(); }));
    connect(expert_, &QComboBox::currentIndexChanged, this, Guard(this, [this] {
                name_->setText(expert_->currentText());
                ShowButtons();
            }));
    connect(name_, &QLineEdit::textChanged, this, Guard(this, [this] { ShowButtons(); }));
    // A click on an expert's heading chooses him for renaming and removal.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const int expert = column - PanelGrid::FirstExpertColumn;
        if (expert >= 0 && expert < expert_->count()) expert_->setCurrentIndex(expert);
    });
    connect(import_, &QPushButton::clicked, this, Guard(this, [this] { ChooseImport(); }));
    connect(export_, &QPushButton::clicked, this, Guard(this, [this] { ChooseExport(); }));
    connect(clear_, &QPushButton::clicked, this, Guard(this, [this] { Clear(); }));
    connect(apply_, &QPushButton::clicked, this, Guard(this, [this] { ApplyConsensus(); }));
    connect(band_, &PanelBandView::busyChanged, this, Guard(this, [this] { ShowButtons(); }));
    ShowGrid();
    ShowAgreement();
    ShowButtons();
    band_->Show();
}

void ExpertPanelView::SetEdit(SessionEdit edit) { edit_ = std::move(edit); }

void ExpertPanelView::Refresh()
{
    const Assessment& assessment = session_.assessment();
    const NetworkInputs ratings = assessment.RatingInputs();
    if (gridShown_ == assessment.panel && ratingsShown_ == ratings) return;
    ShowGrid();
    if (gridShown_ != assessment.panel) ShowAgreement();
    gridShown_ = assessment.panel;
    ratingsShown_ = ratings;
    ShowButtons();
    band_->Show();
}

void ExpertPanelView::ChangePanel(const std::function<void(ExpertPanel&)>& change)
{
    if (!edit_) return;
    ExpertPanel panel = session_.assessment().panel;
    change(panel);
    edit_([&](Session& session) { session.assessment().SetPanel(panel); });
    Refresh();
}

void ExpertPanelView::ShowGrid()
{
    const Assessment& assessment = session_.assessment();
    const ExpertPanel& panel = assessment.panel;
    const int experts = static_cast<int>(panel.experts.size());
    std::array<int, FactorCount> current{};
    for (int row = 0; row < FactorCount; ++row) current[row] = RatedItem(assessment.settings, FactorCatalogue[row]) + 1;
    grid_->ShowPanel(panel, current);
    // The selector of experts follows the panel, keeping the chosen one where it still is.
    const int chosen = expert_->currentIndex();
    {
        const QSignalBlocker quiet(expert_);
        expert_->clear();
        for (const PanelExpert& expert : panel.experts) expert_->addItem(QText(expert.name));
        expert_->setCurrentIndex(experts == 0 ? -1 : std::clamp(chosen, 0, experts - 1));
    }
    if (!name_->hasFocus() || experts == 0) name_->setText(expert_->currentText());
}

void ExpertPanelView::ShowAgreement()
{
    const ExpertPanel& panel = session_.assessment().panel;
    if (panel.experts.empty()) {
        agreement_->setText(QStringLiteral("Панели экспертов нет: добавьте экспертов или импортируйте таблицу CSV"));
        return;
    }
    agreement_->setText(QText(AgreementLine(PanelConcordance(panel), UiNumberLocale())));
}

void ExpertPanelView::ShowButtons()
{
    const Assessment& assessment = session_.assessment();
    const int experts = static_cast<int>(assessment.panel.experts.size());
    const bool idle = !band_->Busy();
    add_->setEnabled(idle && experts < MaxPanelExperts);
    remove_->setEnabled(idle && experts > MinPanelExperts && expert_->currentIndex() >= 0);
    const QString typed = name_->text().trimmed();
    rename_->setEnabled(idle && expert_->currentIndex() >= 0 && !typed.isEmpty() && typed != expert_->currentText());
    export_->setEnabled(experts > 0);
    clear_->setEnabled(idle && experts > 0);
    bool differs = false;
    for (const FactorOpinions& row : PanelOpinions(assessment.panel))
        differs = differs || RatedItem(assessment.settings, *row.factor) + 1 != row.consensus;
    apply_->setEnabled(idle && differs);
    band_->Judge();
}

void ExpertPanelView::AddExpert()
{
    ChangePanel([](ExpertPanel& panel) {
        if (panel.experts.empty()) panel.experts.push_back({FreeExpertName(panel), {}});
        panel.experts.push_back({FreeExpertName(panel), {}});
    });
    expert_->setCurrentIndex(expert_->count() - 1);
}

void ExpertPanelView::RemoveExpert()
{
    const int chosen = expert_->currentIndex();
    ChangePanel([chosen](ExpertPanel& panel) {
        if (chosen >= 0 && chosen < static_cast<int>(panel.experts.size()))
            panel.experts.erase(panel.experts.begin() + chosen);
    });
    name_->setText(expert_->currentText());
}

void ExpertPanelView::RenameExpert()
{
    const int chosen = expert_->currentIndex();
    const std::string name = Utf8(name_->text().trimmed());
    if (!rename_->isEnabled()) return;
    ChangePanel([&](ExpertPanel& panel) {
        if (chosen >= 0 && chosen < static_cast<int>(panel.experts.size())) panel.experts[chosen].name = name;
    });
    name_->setText(expert_->currentText());
}

void ExpertPanelView::ApplyConsensus()
{
    if (!edit_) return;
    const std::vector<FactorOpinions> opinions = PanelOpinions(session_.assessment().panel);
    edit_([&](Session& session) {
        for (const FactorOpinions& row : opinions) {
            const int factor = CatalogueIndex(*row.factor);
            if (RatedItem(session.assessment().settings, *row.factor) != row.consensus - 1)
                session.SelectLevel(factor, row.consensus - 1);
        }
    });
    Refresh();
}

void ExpertPanelView::ChooseImport()
{
    if (!session_.assessment().panel.experts.empty() &&
        QMessageBox::question(this, QText(ApplicationTitle),
                              QStringLiteral("Заменить панель экспертов таблицей из файла?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Импорт панели экспертов"), QString(), CsvFilter);
    if (!path.isEmpty()) ImportFrom(path);
}

void ExpertPanelView::ChooseExport()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт панели экспертов"), QString(), CsvFilter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    ExportTo(path);
}

void ExpertPanelView::Clear()
{
    if (QMessageBox::question(this, QText(ApplicationTitle),
                              QStringLiteral("Удалить панель экспертов со всеми оценками?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    ChangePanel([](ExpertPanel& panel) { panel.experts.clear(); });
}

void ExpertPanelView::ImportFrom(const QString& path)
{
    Guarded(this, [&] {
        const QString file = QFileInfo(path).fileName();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw KestalError(Utf8(QStringLiteral("Файл «%1» не открывается: %2").arg(file, in.errorString())));
        const QByteArray bytes = in.read(MostCsvBytes + 1);
        if (bytes.size() > MostCsvBytes)
            throw KestalError(Utf8(QStringLiteral("Файл «%1» длиннее 1 МиБ: это не таблица панели").arg(file)));
        ExpertPanel panel;
        try {
            panel = ReadExpertPanelCsv(bytes.toStdString());
        } catch (const KestalError& error) {
            throw KestalError(Utf8(QStringLiteral("Файл «%1»: %2").arg(file, QText(error.what()))));
        }
        ChangePanel([&](ExpertPanel& shown) { shown = std::move(panel); });
    });
}

void ExpertPanelView::ExportTo(const QString& path)
{
    Guarded(this, [&] {
        const std::string text = ExpertPanelCsv(session_.assessment().panel);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
            !out.commit())
            throw KestalError(
                Utf8(QStringLiteral("Файл «%1» не записан: %2").arg(QFileInfo(path).fileName(), out.errorString())));
    });
}

}  // namespace kestal
