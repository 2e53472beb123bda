#pragma once

#include <QImage>
#include <array>

// The program's icon: a 16 x 16 pixel-art star. The window icon and the
// installed icon files are all made from this one picture.
namespace iconart {

extern const char *const xpm[];

// The sizes the icon comes in: whole multiples of 16, so every pixel of the
// art becomes a square block.
constexpr std::array<int, 6> sizes = {16, 32, 48, 64, 128, 256};

// The art at `size` x `size`, each pixel repeated size / 16 times each way.
QImage image(int size);

} // namespace iconart
