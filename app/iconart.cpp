#include "iconart.h"

namespace iconart {

// A yellow star on dark green, 16 x 16.
const char *const xpm[] = {
    "16 16 14 1",
    ". c #336600",
    "f c #3f6f00",
    "l c #407000",
    "# c #4d7900",
    "h c #658c00",
    "k c #668c00",
    "d c #729500",
    "a c #8ca900",
    "j c #b2c500",
    "i c #bfcf00",
    "g c #ccd900",
    "b c #d9e200",
    "e c #f2f500",
    "c c #ffff00",
    ".......##.......",
    ".......aa.......",
    ".......bb.......",
    "......#cc#......",
    "......acca......",
    ".decccccccccced.",
    "..fgccccccccgf..",
    "....acccccca....",
    ".....bccccb.....",
    "....#cccccc#....",
    "....acehheca....",
    "....bif..fib....",
    "...#j......akl..",
    "................",
    "................",
    "................",
};

QImage image(int size)
{
    // Nearest-neighbour sampling keeps the pixel art crisp.
    return QImage(xpm).scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace iconart
