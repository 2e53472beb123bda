#pragma once

#include <GL/gl.h>
#include <QImage>
#include <QString>

// The textured ground square: 200 x 200 world units centred on the origin,
// the picture repeated 50 times along each side.
class myGround
{
public:
    // Records the texture image and the square into one new display list in
    // the current context and returns its name. The image is copied into the
    // list, so it may go as soon as this returns. An image the GL cannot take
    // (too large, say) is left out and the square is drawn untextured.
    GLuint buildList(const QImage &texture) const;
};

// The 128 x 128 plain green picture used when the ground file can't be read.
QImage fallbackGroundImage();

// Reads the ground picture from `path`, the format told by the file's contents,
// and returns it ready for the GL: RGBA bytes, bottom row first. When the file
// can't be read (missing, not a regular file, unreadable, not a picture, or
// absurdly large) it logs one warning and returns the green picture instead.
QImage loadGroundImage(const QString &path);
