// The measure tree as data: its start, a measure's three nodes and a measure's change nodes.
#pragma once

#include <string>

#include "Session/SessionState.h"

// "Комплекс мер" (image 0) with the child "Мероприятие 1" and its two children.
TreeNode InitialTree();
// A measure node named `name` (image 1) with "Изменения факторов ЧМС" (2) and "Затраты" (3).
TreeNode MeasureNode(const std::string& name);
// The child of a changes node that belongs to `factor`; nullptr where there is none.
TreeNode* FactorNode(TreeNode& changes, int factor);
