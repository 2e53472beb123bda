// Writes the icon at every size as PNG files in the hicolor theme's layout:
//
//   iconpngs <folder> <name>   ->   <folder>/<N>x<N>/apps/<name>.png

#include "iconart.h"

#include <QDir>
#include <QString>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: iconpngs <folder> <name>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : iconart::sizes) {
        const QString folder = QString("%1x%1/apps").arg(size);
        const QString file = root.filePath(folder + '/' + name + ".png");
        if (!root.mkpath(folder) || !iconart::image(size).save(file, "PNG")) {
            std::fprintf(stderr, "iconpngs: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
