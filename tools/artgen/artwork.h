// The two pictures the generator paints. Both are fully determined by fixed seeds.
#pragma once

#include <QImage>

namespace quivella::artgen {

inline constexpr int kBackgroundWidth = 820;
inline constexpr int kBackgroundHeight = 461;
inline constexpr int kIconSize = 40;

// Paints the window's background: a misty lake landscape, 820 x 461, opaque RGB.
QImage PaintLandscape();
// Paints the application icon: 40 x 40, opaque RGB (Format_RGB888).
QImage PaintIcon();

}  // namespace quivella::artgen
