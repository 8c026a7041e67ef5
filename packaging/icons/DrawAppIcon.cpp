// Draws the program's icon, a stack of three teal discs like the window's own icon, from one
// description: as SVG for the icon theme's scalable folder and as PNG in each fixed size that
// menus and launchers ask for. The results are kept in the repository; `cmake --build build
// --target icons` draws them again after a change here.
//
// Usage: draw-app-icon ICON_NAME THEME_FOLDER
// writes THEME_FOLDER/scalable/apps/ICON_NAME.svg and THEME_FOLDER/NxN/apps/ICON_NAME.png.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <array>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// The drawing's own coordinates: a square of kCanvas units.
constexpr double kCanvas = 64;
constexpr double kCenterX = 32;
constexpr double kRadiusX = 22;    // half the width of a disc
constexpr double kRadiusY = 7;     // half the height of a disc's top face
constexpr double kThickness = 10;  // the height of a disc's side
constexpr double kOutlineWidth = 2;
const QColor kOutline(0, 0, 128);
constexpr std::array kPngSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// One disc: the centre of its top face and the colour of its side; the top face is lighter.
struct Disc {
    double top;
    QColor side;
};

// The discs from the bottom of the stack up, so that each covers the one below.
const std::array<Disc, 3> kDiscs = {Disc{42, QColor(0, 192, 192)}, Disc{27, QColor(0, 160, 160)},
                                    Disc{12, QColor(0, 128, 128)}};

QColor topColor(const Disc& disc) {
    return disc.side.lighter(120);
}

// The side of a disc: down the left edge, along the lower half of the bottom face, up the right.
QPainterPath sidePath(const Disc& disc) {
    QPainterPath path;
    path.moveTo(kCenterX - kRadiusX, disc.top);
    path.lineTo(kCenterX - kRadiusX, disc.top + kThickness);
    path.arcTo(
        QRectF(kCenterX - kRadiusX, disc.top + kThickness - kRadiusY, 2 * kRadiusX, 2 * kRadiusY),
        180, 180);
    path.lineTo(kCenterX + kRadiusX, disc.top);
    path.closeSubpath();
    return path;
}

std::string svgText() {
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kCanvas << "\" height=\""
        << kCanvas << "\" viewBox=\"0 0 " << kCanvas << ' ' << kCanvas << "\">\n"
        << "  <g stroke=\"" << kOutline.name().toStdString() << "\" stroke-width=\""
        << kOutlineWidth << "\" stroke-linejoin=\"round\">\n";
    for (const Disc& disc : kDiscs) {
        const double left = kCenterX - kRadiusX;
        const double right = kCenterX + kRadiusX;
        const double bottom = disc.top + kThickness;
        svg << "    <path fill=\"" << disc.side.name().toStdString() << "\" d=\"M" << left << ','
            << disc.top << " L" << left << ',' << bottom << " A" << kRadiusX << ',' << kRadiusY
            << " 0 0,0 " << right << ',' << bottom << " L" << right << ',' << disc.top << " Z\"/>\n"
            << "    <ellipse fill=\"" << topColor(disc).name().toStdString() << "\" cx=\""
            << kCenterX << "\" cy=\"" << disc.top << "\" rx=\"" << kRadiusX << "\" ry=\""
            << kRadiusY << "\"/>\n";
    }
    svg << "  </g>\n</svg>\n";
    return svg.str();
}

QImage pngImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    painter.setPen(QPen(kOutline, kOutlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    for (const Disc& disc : kDiscs) {
        painter.setBrush(disc.side);
        painter.drawPath(sidePath(disc));
        painter.setBrush(topColor(disc));
        painter.drawEllipse(QPointF(kCenterX, disc.top), kRadiusX, kRadiusY);
    }
    return image;
}

// Makes folder/subfolder and returns the path of name in it; throws when it cannot.
QString outputFile(const QString& folder, const QString& subfolder, const QString& name) {
    const QString path = folder + '/' + subfolder;
    if (!QDir().mkpath(path)) throw std::runtime_error("cannot create " + path.toStdString());
    return path + '/' + name;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: draw-app-icon ICON_NAME THEME_FOLDER\n";
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    try {
        std::ofstream svg(outputFile(folder, "scalable/apps", name + ".svg").toStdString());
        svg << svgText();
        if (!svg.flush()) throw std::runtime_error("cannot write the SVG file");
        for (const int size : kPngSizes) {
            const QString sizeFolder = QString("%1x%1/apps").arg(size);
            const QString file = outputFile(folder, sizeFolder, name + ".png");
            if (!pngImage(size).save(file)) {
                throw std::runtime_error("cannot write " + file.toStdString());
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "draw-app-icon: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
