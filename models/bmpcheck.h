#pragma once

class QIODevice;

// Whether a BMP file holds all the pixel data its header declares. Qt decodes
// a BMP that ends early without an error and leaves the missing rows as
// whatever memory held. Reads the header with peek(), so the device stays
// where it was; anything that is not a BMP passes.
bool bmpHoldsItsPixels(QIODevice &device);
