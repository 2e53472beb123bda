#include "font.h"

#include "mygl.h"

#include <string>
#include <vector>

namespace {

// The letters as drawn, top row first, '#' for a set pixel: 8 columns, the
// 11 rows above the two empty bottom rows. Strokes are two pixels wide.
constexpr const char *letterArt[26][11] = {
    {"...##...", "..####..", ".##..##.", "##....##", "##....##", "##....##", "########", "##....##",
        "##....##", "##....##", "##....##"}, // A
    {"######..", "##...##.", "##....##", "##....##", "##...##.", "######..", "##...##.", "##....##",
        "##....##", "##...##.", "######.."}, // B
    {"..#####.", ".##...##", "##......", "##......", "##......", "##......", "##......", "##......",
        "##......", ".##...##", "..#####."}, // C
    {"#####...", "##..##..", "##...##.", "##....##", "##....##", "##....##", "##....##", "##....##",
        "##...##.", "##..##..", "#####..."}, // D
    {"########", "##......", "##......", "##......", "##......", "######..", "##......", "##......",
        "##......", "##......", "########"}, // E
    {"########", "##......", "##......", "##......", "##......", "######..", "##......", "##......",
        "##......", "##......", "##......"}, // F
    {"..#####.", ".##...##", "##......", "##......", "##......", "##..####", "##....##", "##....##",
        "##....##", ".##...##", "..#####."}, // G
    {"##....##", "##....##", "##....##", "##....##", "##....##", "########", "##....##", "##....##",
        "##....##", "##....##", "##....##"}, // H
    {".######.", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...",
        "...##...", "...##...", ".######."}, // I
    {"...#####", ".....##.", ".....##.", ".....##.", ".....##.", ".....##.", ".....##.", ".....##.",
        "##...##.", ".##.##..", "..###..."}, // J
    {"##....##", "##...##.", "##..##..", "##.##...", "####....", "###.....", "####....", "##.##...",
        "##..##..", "##...##.", "##....##"}, // K
    {"##......", "##......", "##......", "##......", "##......", "##......", "##......", "##......",
        "##......", "##......", "########"}, // L
    {"##....##", "###..###", "########", "##.##.##", "##.##.##", "##....##", "##....##", "##....##",
        "##....##", "##....##", "##....##"}, // M
    {"##....##", "###...##", "###...##", "####..##", "##.##.##", "##.##.##", "##..####", "##...###",
        "##...###", "##....##", "##....##"}, // N
    {"..####..", ".##..##.", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
        "##....##", ".##..##.", "..####.."}, // O
    {"######..", "##...##.", "##....##", "##....##", "##...##.", "######..", "##......", "##......",
        "##......", "##......", "##......"}, // P
    {"..####..", ".##..##.", "##....##", "##....##", "##....##", "##....##", "##....##", "##.##.##",
        "##..###.", ".##..##.", "..###.##"}, // Q
    {"######..", "##...##.", "##....##", "##....##", "##...##.", "######..", "####....", "##.##...",
        "##..##..", "##...##.", "##....##"}, // R
    {".######.", "##....##", "##......", "##......", ".##.....", "..####..", ".....##.", "......##",
        "......##", "##....##", ".######."}, // S
    {"########", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...",
        "...##...", "...##...", "...##..."}, // T
    {"##....##", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
        "##....##", ".##..##.", "..####.."}, // U
    {"##....##", "##....##", "##....##", "##....##", "##....##", ".##..##.", ".##..##.", ".##..##.",
        "..####..", "..####..", "...##..."}, // V
    {"##....##", "##....##", "##....##", "##....##", "##....##", "##.##.##", "##.##.##", "########",
        "###..###", "##....##", "#......#"}, // W
    {"##....##", "##....##", ".##..##.", ".##..##.", "..####..", "...##...", "..####..", ".##..##.",
        ".##..##.", "##....##", "##....##"}, // X
    {"##....##", "##....##", ".##..##.", ".##..##.", "..####..", "...##...", "...##...", "...##...",
        "...##...", "...##...", "...##..."}, // Y
    {"########", "......##", ".....##.", ".....##.", "....##..", "...##...", "..##....", ".##.....",
        ".##.....", "##......", "########"}, // Z
};

constexpr std::uint8_t rowBits(const char *row)
{
    std::uint8_t bits = 0;
    for (int x = 0; x < 8; ++x)
        bits = static_cast<std::uint8_t>((bits << 1) | (row[x] == '#' ? 1 : 0));
    return bits;
}

constexpr std::array<Glyph, 26> glyphsFromArt()
{
    std::array<Glyph, 26> glyphs {};
    for (int letter = 0; letter < 26; ++letter) {
        // Rows 0 and 1 stay empty; row 2 is the art's bottom line.
        for (int row = 0; row < 11; ++row)
            glyphs[letter][2 + row] = rowBits(letterArt[letter][10 - row]);
    }
    return glyphs;
}

constexpr float glyphOriginY = 2.0f;

} // namespace

const std::array<Glyph, 26> letterGlyphs = glyphsFromArt();
const Glyph spaceGlyph {};

namespace {
// The glyph with each pixel made a `scale` x `scale` block: rows of `scale`
// bytes, bottom row first, as glBitmap takes them.
std::vector<std::uint8_t> scaledGlyph(const Glyph &glyph, int scale)
{
    std::vector<std::uint8_t> bitmap;
    bitmap.reserve(glyph.size() * scale * scale);
    for (const std::uint8_t row : glyph) {
        std::vector<std::uint8_t> wide(scale, 0);
        for (int x = 0; x < 8 * scale; ++x) {
            if (row & (0x80 >> (x / scale)))
                wide[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
        for (int copy = 0; copy < scale; ++copy)
            bitmap.insert(bitmap.end(), wide.begin(), wide.end());
    }
    return bitmap;
}
} // namespace

GLuint buildFontLists(int scale)
{
    const GLuint base = glGenLists(fontListCount);
    compileFontLists(base, scale);
    return base;
}

void compileFontLists(GLuint base, int scale)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The bitmap, its origin and its advance all count device pixels.
    const auto compileGlyph = [base, scale](int code, const Glyph &glyph) {
        glNewList(base + code, GL_COMPILE);
        glBitmap(8 * scale, 13 * scale, 0.0f, glyphOriginY * scale, glyphAdvance * scale, 0.0f,
            scaledGlyph(glyph, scale).data());
        glEndList();
    };
    for (int letter = 0; letter < 26; ++letter)
        compileGlyph('A' + letter, letterGlyphs[letter]);
    compileGlyph(' ', spaceGlyph);
}

void drawString(GLuint listBase, const char *text)
{
    // Bytes past 127 would call names beyond this view's 128 font lists,
    // which may belong to something else; leave them out.
    std::string codes;
    for (const char *c = text; *c; ++c) {
        if (static_cast<unsigned char>(*c) < fontListCount)
            codes += *c;
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(codes.size()), GL_UNSIGNED_BYTE, codes.data());
    glPopAttrib();
}

void myGL::drawFont()
{
    // A distance scale along +X from the start point; each label is anchored
    // at a world point and drawn upright in window pixels.
    glRasterPos2i(0, 0);
    drawString(m_fontListBase, "START POINT");
    glRasterPos3i(5, 0, 0);
    drawString(m_fontListBase, "FIVE");
    glRasterPos3i(10, 0, 1);
    drawString(m_fontListBase, "TEN");
    glRasterPos3i(15, 0, 2);
    drawString(m_fontListBase, "FIFTHTEEN");
}
