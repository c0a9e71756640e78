// The small pictures of the window, drawn in code: page tabs, the monitor's button and the images
// of the measure tree.
#pragma once

#include <QIcon>

#include <array>

namespace kestal {

// Tab pictures of the four factor groups, in page order ("Человек" .. "Технология").
QIcon GroupPicture(int group);
// Tab pictures of the main pages: "Моделирование", "Комплекс мер", "Итоги", "Анализ".
QIcon PagePicture(int page);
// The picture of the monitor's small button (show the introduction again).
QIcon IntroductionPicture();

// The eight images of the measure tree: 0 the complex, 1 a measure, 2 its changes, 3 its cost,
// 4..7 a change of an H, M, C or T factor.
constexpr int TreeImageCount = 8;
const std::array<QIcon, TreeImageCount>& TreeImages();

}  // namespace kestal
