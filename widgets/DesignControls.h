// Building blocks of the window's pages: named controls at their design positions.
#pragma once

#include <QRect>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QWidget;

namespace kestal {

// A plain-text label; without a size it takes the size of its text, with one it may wrap.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QPoint at);
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect place, bool wrap);
// A static text: sunken, centred.
QLabel* MakeStaticText(QWidget* parent, const char* name, const QString& text, QRect place);
QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* title, QRect place);
// An editable drop-down list with suggested items and its own text; typed text is kept as typed
// (no completion, never inserted as an item).
QComboBox* MakeEditableList(QWidget* parent, const char* name, QRect place, const QStringList& items,
                            const QString& text);
QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect place, const char* text);
QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect place);

// The suggested items of the K and N fields of both pages.
inline QStringList KSuggestions() { return {"500", "700", "1000", "1500", "2000"}; }
inline QStringList NSuggestions()
{
    return {"300", "1000", "10000", "50000", "100000", "500000", "1000000", "10000000", "100000000"};
}

// The factor panels of both pages: 480 × 41 each, stacked in a scroll box of their page.
constexpr int FactorPanelWidth = 480;
constexpr int FactorPanelHeight = 41;
// That scroll box: no frame, no horizontal scroll bar, 501 pixels wide.
constexpr int PanelScrollBoxWidth = 501;
QScrollArea* MakePanelScrollBox(QWidget* page, const QString& name);

// Texts set by the program, without running the field's handler, and only where they differ, so
// that a field the user is typing into keeps its cursor.
void SetListText(QComboBox* list, const QString& text);
void SetEditText(QLineEdit* edit, const QString& text);

// A drop-down list or track bar that takes the mouse wheel only while it has the focus: turning
// the wheel over it otherwise scrolls what holds it, and the wheel never gives it the focus.
void TakeWheelOnlyWithFocus(QWidget* control);
// The same for every control within `root` that the wheel would change: drop-down lists, track
// bars, spin boxes and tab bars (not scroll bars).
void TakeWheelOnlyWithFocusWithin(QWidget* root);

}  // namespace kestal
