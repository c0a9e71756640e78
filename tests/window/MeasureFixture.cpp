// The page "Комплекс мер" driven as a person drives it.
#include "MeasureFixture.h"

#include <QDir>
#include <QTest>

#include "window/ActionTree.h"
#include "factors/Catalogue.h"

using namespace kestal;

void MeasureTest::SetUp()
{
    WindowTest::SetUp();
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
}

void MeasureTest::Select(const char* id)
{
    ClickTab(Find<QTabWidget>("pcFactOpt"), FindFactor(id)->group);
    QTest::mouseClick(Panel(id), Qt::LeftButton, {}, QPoint(2, 2));
}

void MeasureTest::Press(const char* id, Qt::Key key, int times)
{
    QSlider* bar = Bar(id);
    bar->setFocus();
    for (int press = 0; press < times; ++press) QTest::keyClick(bar, key);
}

void MeasureTest::Move(const char* id, int item)
{
    Select(id);
    const int distance = item - Bar(id)->value();
    if (QLatin1String(id) == QLatin1String("H01")) {
        ASSERT_EQ(distance % 2, 0) << "H01 moves by two";
        Press(id, distance > 0 ? Qt::Key_PageUp : Qt::Key_PageDown, std::abs(distance) / 2);
    } else {
        Press(id, distance > 0 ? Qt::Key_Right : Qt::Key_Left, std::abs(distance));
    }
    ASSERT_EQ(Bar(id)->value(), item) << id;
    Edit("edActName")->setFocus();
}

void MeasureTest::TypeInto(const char* edit, const QString& text)
{
    QLineEdit* field = Edit(edit);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
}

void MeasureTest::Capture(const std::vector<Change>& changes, const QString& cost)
{
    for (const auto& [id, item] : changes) Move(id, item);
    TypeInto("edExpense", cost);
    QTest::mouseClick(Button("butActIn"), Qt::LeftButton);
}

namespace {

void Walk(const QTreeWidgetItem* node, int depth, QStringList& out)
{
    out << QString(2 * depth, QLatin1Char(' ')) + node->text(0) + QLatin1Char('|') + QString::number(NodeImage(node));
    for (int child = 0; child < node->childCount(); ++child) Walk(node->child(child), depth + 1, out);
}

}  // namespace

QStringList MeasureTest::Tree()
{
    QStringList out;
    auto* tree = Find<QTreeWidget>("tvAction");
    for (int top = 0; top < tree->topLevelItemCount(); ++top) Walk(tree->topLevelItem(top), 0, out);
    return out;
}

QStringList MeasureTest::Selected()
{
    QStringList grey;
    for (const FactorInfo& factor : FactorCatalogue)
        if (Panel(factor.id)->colour() == HighlightColour()) grey << QLatin1String(factor.id);
    return grey;
}

void MeasureTest::Shot(const char* name)
{
    const QString folder = qEnvironmentVariable("KESTAL_SHOTS");
    if (folder.isEmpty()) return;
    QTest::qWait(200);
    window->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
}
