#pragma once

#include <QByteArray>
#include <QImage>

// The viewer's decoding (decodeGroundImage) of a picture file held in memory.
QImage decodedFromMemory(const QByteArray &bytes);

// The oracle for cut files, which needs no knowledge of their format: a file
// is complete when its picture depends on no byte past its end. Decodes the
// file as the viewer does (a check of the same kind) twice, once followed by
// 0x00 bytes and once by 0xFF bytes: complete when both decode and agree. Pixels
// the decoder never writes make them differ too.
bool isComplete(const QByteArray &bytes);
