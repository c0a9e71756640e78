// Pages that grow with the window: the design's places and sizes are the minimum, and the controls
// that show more when given room (lists, grids, monitors) take the room.
#pragma once

#include <QFlags>

#include <initializer_list>
#include <utility>

class QBoxLayout;
class QWidget;

namespace kestal {

// A group box or panel that keeps its design size as its minimum and may grow.
void GrowsFromDesignSize(QWidget* widget);

// How a child follows its parent growing beyond the size the parent has now: its width or height
// grows by as much, or it moves along by as much. At the design size it stands at its design place.
enum class Follow { Width = 1, Height = 2, Right = 4, Down = 8 };
Q_DECLARE_FLAGS(Following, Follow)
Q_DECLARE_OPERATORS_FOR_FLAGS(Following)
void FollowParent(QWidget* child, Following how);

// A row or a column of widgets with their stretch factors, `gap` pixels apart.
QBoxLayout* Row(std::initializer_list<std::pair<QWidget*, int>> widgets, int gap);
QBoxLayout* Column(std::initializer_list<std::pair<QWidget*, int>> widgets, int gap);

}  // namespace kestal
