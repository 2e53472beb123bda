#pragma once

#include "vudureconfig.h"

#include <QImage>

// The program's icon: a 16 x 16 pixel-art star. The window icon and the
// installed icon files are all made from this one picture.
namespace iconart {

extern const char *const xpm[];

// The sizes the icon comes in: whole multiples of 16, so every pixel of the
// art becomes a square block.
inline constexpr int sizes[] = {VUDURE_ICON_SIZES};

// The art at `size` x `size`, each pixel repeated size / 16 times each way.
QImage image(int size);

} // namespace iconart
