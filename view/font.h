#pragma once

#include <GL/gl.h>
#include <array>
#include <cstdint>

// A small raster font of upper-case letters, one display list per character.
// A glyph is 8 pixels wide and 13 rows high, one byte per row from the bottom
// row up, most significant bit leftmost; the two bottom rows are empty and
// hang below the raster position.
using Glyph = std::array<std::uint8_t, 13>;

inline constexpr int fontListCount = 128; // one name per 7-bit character code
inline constexpr float glyphAdvance = 10.0f; // glyph pixels to the right per character

extern const std::array<Glyph, 26> letterGlyphs; // A to Z
extern const Glyph spaceGlyph;

// Builds the 128 font lists in the current context (only the space and A to Z
// are defined; the other names stay empty), each glyph pixel a `scale` x
// `scale` block of device pixels, and returns the first name.
GLuint buildFontLists(int scale);

// Records the glyph lists from `base` on again at another scale.
void compileFontLists(GLuint base, int scale);

// Draws `text` at the current raster position with the font lists starting
// at `listBase`. Characters without a glyph draw nothing and do not advance.
void drawString(GLuint listBase, const char *text);
