// render_icon: the application icon, the program's mark on a transparent square, as the scalable
// SVG and the PNG sizes of the hicolor icon theme.
//   render_icon <output folder> <icon name> <size> [<size> ...]
// writes <folder>/scalable/apps/<name>.svg and <folder>/<n>x<n>/apps/<name>.png for each size.

#include "ui/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

// The mark fills the square but for a thin margin, so it reads at 16 pixels and does not touch the
// edge of a launcher's tile.
void paintIcon(QPainter& p, qreal side) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = side / 2 * 0.94;
    nc::ui::art::drawEmblem(p, QPointF(side / 2, side / 2), radius);
}

bool writeSvg(const QString& file) {
    constexpr int kSide = 256;
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(kSide, kSide));
    svg.setViewBox(QRect(0, 0, kSide, kSide));
    svg.setTitle(QStringLiteral("nutricounsel"));
    svg.setDescription(QStringLiteral("女性膳食营养咨询系统"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    paintIcon(p, kSide);
    return p.end();
}

bool writePng(const QString& file, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        paintIcon(p, side);
    }
    return image.save(file, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icon <output folder> <icon name> <size> [<size> ...]\n");
        return 2;
    }
    const QDir out(args[1]);
    const QString name = args[2];
    const QString scalable = out.filePath(QStringLiteral("scalable/apps"));
    if (!QDir().mkpath(scalable) || !writeSvg(QDir(scalable).filePath(name + QStringLiteral(".svg")))) {
        std::fprintf(stderr, "render_icon: cannot write the SVG icon in %s\n", qPrintable(scalable));
        return 1;
    }
    for (const QString& arg : args.mid(3)) {
        const int side = arg.toInt();
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(side));
        if (side <= 0 || !QDir().mkpath(folder) ||
            !writePng(QDir(folder).filePath(name + QStringLiteral(".png")), side)) {
            std::fprintf(stderr, "render_icon: cannot write the %s pixel icon\n", qPrintable(arg));
            return 1;
        }
    }
    return 0;
}
