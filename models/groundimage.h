#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// The 128 x 128 plain green picture used when the ground file can't be read.
QImage fallbackGroundImage();

// Decodes the picture that `source` holds from where it stands, the format
// told by its contents, and returns it top row first, its pixels 32-bit words
// (QImage::Format_RGB32, or Format_ARGB32 when it has alpha). `source` must
// allow seeking: a picture is read more than once to check it is whole.
// Returns a null image when it can't be decoded, has more pixels than the
// viewer takes (4096 x 4096), or ends before its picture does (a cut-off
// download, say), which several of Qt's decoders would otherwise show with
// rows of whatever memory held or of grey. Needs no GL.
QImage decodeGroundImage(QIODevice &source);

// Reads the ground picture from `path` as decodeGroundImage() does, and says
// so in the debug category "vudure.ground". When the file can't be read
// (missing, not a regular file, unreadable, not a picture, cut short, or
// too large) it warns (warnGroundUnreadable) and returns the green
// picture instead, setting `*unreadable` if given.
QImage loadGroundImage(const QString &path, bool *unreadable = nullptr);

// The one warning the viewer gives: the ground file could not be read.
void warnGroundUnreadable();
