// Building blocks of the window's pages: named controls at their design positions.
#include "widgets/DesignControls.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVariant>

#include "widgets/UiText.h"

namespace kestal {

namespace {

template <class Control>
Control* Place(Control* control, const char* name, QRect place)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    return control;
}

QLabel* PlainLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QPoint at)
{
    QLabel* label = PlainLabel(parent, QText(text));
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(at);
    return label;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect place, bool wrap)
{
    QLabel* label = PlainLabel(parent, QText(text));
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return Place(label, name, place);
}

QLabel* MakeStaticText(QWidget* parent, const char* name, const QString& text, QRect place)
{
    QLabel* label = PlainLabel(parent, text);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    return Place(label, name, place);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* title, QRect place)
{
    return Place(new QGroupBox(QText(title), parent), name, place);
}

QComboBox* MakeEditableList(QWidget* parent, const char* name, QRect place, const QStringList& items,
                            const QString& text)
{
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->setMaxVisibleItems(items.size());
    list->addItems(items);
    list->setEditText(text);
    TakeWheelOnlyWithFocus(list);
    return Place(list, name, place);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect place, const char* text)
{
    return Place(new QLineEdit(QText(text), parent), name, place);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect place)
{
    auto* button = new QPushButton(QText(text), parent);
    button->setAutoDefault(false);
    return Place(button, name, place);
}

QScrollArea* MakePanelScrollBox(QWidget* page, const QString& name)
{
    auto* scrollBox = new QScrollArea(page);
    scrollBox->setObjectName(name);
    scrollBox->setFrameStyle(QFrame::NoFrame);
    scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollBox->setFixedWidth(PanelScrollBoxWidth);
    return scrollBox;
}

void SetListText(QComboBox* list, const QString& text)
{
    if (list->currentText() == text) return;
    const QSignalBlocker blocker(list);
    list->setEditText(text);
}

void SetEditText(QLineEdit* edit, const QString& text)
{
    if (edit->text() == text) return;
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

namespace {

class WheelWithFocusOnly : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || control->hasFocus()) return false;
        // On to what holds the control: the scroll box of the panels scrolls.
        if (QWidget* holder = control->parentWidget()) QCoreApplication::sendEvent(holder, event);
        return true;
    }
};

// Controls whose value or page the wheel changes; scroll bars only scroll.
bool TakesTheWheel(const QWidget* widget)
{
    if (qobject_cast<const QScrollBar*>(widget)) return false;
    return qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTabBar*>(widget);
}

}  // namespace

void TakeWheelOnlyWithFocus(QWidget* control)
{
    static constexpr const char* Taken = "kestalWheelWithFocusOnly";
    if (control->property(Taken).toBool()) return;
    control->setProperty(Taken, true);
    // The wheel gives no focus either: the control keeps its other ways of taking it.
    constexpr int wheelBit = Qt::WheelFocus & ~Qt::StrongFocus;
    control->setFocusPolicy(static_cast<Qt::FocusPolicy>(control->focusPolicy() & ~wheelBit));
    control->installEventFilter(new WheelWithFocusOnly(control));
}

void TakeWheelOnlyWithFocusWithin(QWidget* root)
{
    for (QWidget* widget : root->findChildren<QWidget*>())
        if (TakesTheWheel(widget)) TakeWheelOnlyWithFocus(widget);
}

}  // namespace kestal
