// Building blocks of the window's pages: named controls at their design positions.
#include "Main_U/Widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>

#include "Main_U/UiText.h"

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
    QLabel* label = PlainLabel(parent, Q(text));
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(at);
    return label;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect place, bool wrap)
{
    QLabel* label = PlainLabel(parent, Q(text));
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
    return Place(new QGroupBox(Q(title), parent), name, place);
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
    return Place(list, name, place);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect place, const char* text)
{
    return Place(new QLineEdit(Q(text), parent), name, place);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect place)
{
    auto* button = new QPushButton(Q(text), parent);
    button->setAutoDefault(false);
    return Place(button, name, place);
}

QScrollArea* MakePanelScrollBox(QWidget* page, const QString& name)
{
    auto* scrollBox = new QScrollArea(page);
    scrollBox->setObjectName(name);
    scrollBox->setFrameStyle(QFrame::NoFrame);
    scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollBox->setFixedWidth(501);
    return scrollBox;
}

void Mirror(QComboBox* twin, const QComboBox* field)
{
    const QSignalBlocker blocker(twin);
    twin->setEditText(field->currentText());
}
