// talvora-iconpng SVG OUTDIR SIZE...
// Renders the program's icon to OUTDIR/<SIZE>.png for each size, for the icon theme.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: talvora-iconpng SVG OUTDIR SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "talvora-iconpng: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 4096) {
            std::fprintf(stderr, "talvora-iconpng: not a size: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString path =
            folder + QLatin1Char('/') + QString::number(size) + QStringLiteral(".png");
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "talvora-iconpng: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
