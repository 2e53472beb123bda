// Writes the ground picture that the viewer shows: 256 x 256 pixels of grass
// with patches of bare earth, as a BMP. The same file every time: the noise is
// an integer hash, not a random generator. Every layer of noise repeats within
// the picture, so its edges meet without a seam when the ground repeats it.
//
//   groundpicture <output.bmp>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int pictureSize = 256;

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t layer)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ layer * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

double lattice(int x, int y, int cells, std::uint32_t layer)
{
    // Wrapping the lattice makes the layer repeat every `cells` cells.
    x = ((x % cells) + cells) % cells;
    y = ((y % cells) + cells) % cells;
    return (hash(std::uint32_t(x), std::uint32_t(y), layer) & 0xffff) / 65535.0;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

// Value noise in 0..1 with `cells` lattice cells across the picture.
double valueNoise(double u, double v, int cells, std::uint32_t layer)
{
    const double x = u * cells, y = v * cells;
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const double fx = smooth(x - x0), fy = smooth(y - y0);
    const double a = lattice(x0, y0, cells, layer), b = lattice(x0 + 1, y0, cells, layer);
    const double c = lattice(x0, y0 + 1, cells, layer), d = lattice(x0 + 1, y0 + 1, cells, layer);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

double fractal(double u, double v, int cells, int octaves, std::uint32_t layer)
{
    double sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * valueNoise(u, v, cells << i, layer + i);
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
        float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QImage groundPicture()
{
    const QColor darkGrass(52, 92, 30), lightGrass(104, 146, 52);
    const QColor earth(118, 92, 60), dryEarth(150, 124, 86);
    QImage picture(pictureSize, pictureSize, QImage::Format_RGB32);
    for (int y = 0; y < pictureSize; ++y) {
        for (int x = 0; x < pictureSize; ++x) {
            const double u = double(x) / pictureSize, v = double(y) / pictureSize;
            const QColor grass = mix(darkGrass, lightGrass, fractal(u, v, 8, 4, 1));
            const QColor soil = mix(earth, dryEarth, fractal(u, v, 16, 3, 20));
            // Earth shows through where the coarse layer is high, with a soft edge.
            const double patch = fractal(u, v, 4, 3, 40);
            QColor colour = mix(grass, soil, (patch - 0.58) / 0.08);
            // Single blades and pebbles.
            const double speck = (hash(x, y, 99) & 0xff) / 255.0;
            colour = colour.lighter(92 + int(speck * 16));
            picture.setPixelColor(x, y, colour);
        }
    }
    return picture;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
        return 2;
    }
    if (!groundPicture().save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
