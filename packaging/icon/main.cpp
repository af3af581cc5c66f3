// Writes the program's icon into OUTDIR/<size>x<size>/apps/lanvista.png for every size the
// icon theme gets; run by the build.

#include "packaging/icon/AppIconPng.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (const int size : kThemeIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = dir + QStringLiteral("/lanvista.png");
        const QImage icon = AppIconAt(size);
        if (icon.isNull() || !QDir().mkpath(dir) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %d px icon to %s\n", argv[0], size, qPrintable(file));
            return 1;
        }
    }
    return 0;
}
