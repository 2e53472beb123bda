#pragma once

#include <GL/gl.h>
#include <QImage>

// The textured ground square: 200 x 200 world units centred on the origin,
// the picture repeated 50 times along each side.
class myGround
{
public:
    // Hands the picture (32-bit words, as decodeGroundImage returns it) to
    // the GL once, as a new texture object of the current context that
    // repeats, with linear filters, its bottom row first and its alpha
    // dropped, and returns its name; the image may go as soon as this
    // returns. A picture the GL cannot take (too large, say) gives 0.
    GLuint uploadTexture(const QImage &picture) const;

    // Records the square into one new display list in the current context,
    // binding `texture` first (0: none, the square is untextured), and returns
    // the list's name. The caller enables texturing around the list and owns
    // both names.
    GLuint buildList(GLuint texture) const;
};
