// The page "Комплекс мер" driven as a person drives it: selecting factors, moving their track bars
// with the keyboard, typing the cost, pressing ">>"; and the monitor tree read back as texts.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>

#include <utility>
#include <vector>

#include "widgets/FactorPanel.h"
#include "WindowFixture.h"

using namespace kestal;

class MeasureTest : public WindowTest {
protected:
    void SetUp() override;

    // Controls of a factor on the measure page.
    FactorPanel* Panel(const char* id) { return Find<FactorPanel>(Named("p", id, "Opt")); }
    QSlider* Bar(const char* id) { return Find<QSlider>(Named("tb", id)); }
    QLabel* Before(const char* id) { return Find<QLabel>(Named("st1_", id)); }
    QLabel* After(const char* id) { return Find<QLabel>(Named("st2_", id)); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(QString::fromLatin1(name)); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(QString::fromLatin1(name)); }

    // Shows the factor's page of pcFactOpt and clicks its panel.
    void Select(const char* id);
    // Gives the factor's track bar the focus and presses `key` `times` times on it.
    void Press(const char* id, Qt::Key key, int times = 1);
    // Selects the factor and moves its bar to `item` with the arrow keys (H01, which has no arrow
    // step, with Page Up / Page Down), then moves the focus on to the name field.
    void Move(const char* id, int item);
    // Selects the whole text of an edit field and types `text` over it.
    void TypeInto(const char* edit, const QString& text);
    // A factor id and the item its bar is moved to.
    using Change = std::pair<const char*, int>;
    // The moves, the cost typed, then ">>" clicked.
    void Capture(const std::vector<Change>& changes, const QString& cost);

    // The tree in pre-order, each node as "text|image", children indented by two blanks per level.
    QStringList Tree();
    // The ids of the grey panels.
    QStringList Selected();
    // Saves a picture of the window to $KESTAL_SHOTS/<name>.png when that variable is set.
    void Shot(const char* name);

private:
    static QString Named(const char* prefix, const char* id, const char* suffix = "")
    {
        return QLatin1String(prefix) + QLatin1String(id) + QLatin1String(suffix);
    }
};
