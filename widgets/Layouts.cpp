// Layouts of pages that grow with the window.
#include "widgets/Layouts.h"

#include <QBoxLayout>
#include <QEvent>
#include <QWidget>

namespace kestal {

namespace {

// Keeps a child where its design puts it relative to the parent's edges.
class ParentWatch : public QObject {
public:
    ParentWatch(QWidget* child, Following how)
        : QObject(child), child_(child), how_(how), place_(child->geometry()), size_(child->parentWidget()->size())
    {
        child->parentWidget()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Resize) return false;
        const QSize now = child_->parentWidget()->size();
        const int dx = std::max(0, now.width() - size_.width());
        const int dy = std::max(0, now.height() - size_.height());
        child_->setGeometry(place_.x() + (how_ & Follow::Right ? dx : 0), place_.y() + (how_ & Follow::Down ? dy : 0),
                            place_.width() + (how_ & Follow::Width ? dx : 0),
                            place_.height() + (how_ & Follow::Height ? dy : 0));
        return false;
    }

private:
    QWidget* child_;
    Following how_;
    QRect place_;
    QSize size_;
};

QBoxLayout* Box(QBoxLayout::Direction direction, std::initializer_list<std::pair<QWidget*, int>> widgets, int gap)
{
    auto* box = new QBoxLayout(direction);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(gap);
    for (const auto& [widget, stretch] : widgets) box->addWidget(widget, stretch);
    return box;
}

}  // namespace

void GrowsFromDesignSize(QWidget* widget) { widget->setMinimumSize(widget->size()); }

void FollowParent(QWidget* child, Following how) { new ParentWatch(child, how); }

QBoxLayout* Row(std::initializer_list<std::pair<QWidget*, int>> widgets, int gap)
{
    return Box(QBoxLayout::LeftToRight, widgets, gap);
}

QBoxLayout* Column(std::initializer_list<std::pair<QWidget*, int>> widgets, int gap)
{
    return Box(QBoxLayout::TopToBottom, widgets, gap);
}

}  // namespace kestal
