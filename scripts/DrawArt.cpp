// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's artwork into the folder given as the only argument:
// the frame icon (16 to 256 pixels, and scalable for the desktop's icon
// theme), the document icon (16 and 32 pixels) and the about box banner
// (267 x 44). The files are kept in the source tree (shell/resources); after
// changing a drawing, build and run this again (the scalable icon needs Qt
// SVG, qt6-svg-dev):
//   g++ -std=c++17 -fPIC scripts/DrawArt.cpp -o build/draw_art $(pkg-config --cflags --libs Qt6Gui Qt6Svg)
//   QT_QPA_PLATFORM=offscreen build/draw_art shell/resources
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

namespace {

const QColor Navy(24, 52, 110);
const QColor Sky(64, 132, 214);
const QColor Paper(250, 250, 246);
const QColor Amber(246, 180, 46);

QImage NewCanvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A quaver: two note heads joined by a beam, in a unit square.
void DrawNotes(QPainter& p, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0.10, 0.68, 0.30, 0.22));
    p.drawEllipse(QRectF(0.58, 0.58, 0.30, 0.22));
    p.drawRect(QRectF(0.32, 0.12, 0.08, 0.68));
    p.drawRect(QRectF(0.80, 0.02, 0.08, 0.68));
    QPainterPath beam;
    beam.moveTo(0.32, 0.12);
    beam.lineTo(0.88, 0.02);
    beam.lineTo(0.88, 0.18);
    beam.lineTo(0.32, 0.28);
    beam.closeSubpath();
    p.drawPath(beam);
}

// A luggage tag with its hole: the record at the end of every file.
void DrawTag(QPainter& p, const QColor& colour, const QColor& hole)
{
    QPainterPath tag;
    tag.moveTo(0.30, 0.0);
    tag.lineTo(1.0, 0.0);
    tag.lineTo(1.0, 1.0);
    tag.lineTo(0.30, 1.0);
    tag.lineTo(0.0, 0.5);
    tag.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(tag);
    p.setBrush(hole);
    p.drawEllipse(QRectF(0.16, 0.40, 0.18, 0.20));
}

// The frame icon in a unit square.
void DrawFrame(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 1);
    sky.setColorAt(0, Sky);
    sky.setColorAt(1, Navy);
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0.03, 0.03, 0.94, 0.94), 0.18, 0.18);

    p.save();
    p.translate(0.14, 0.56);
    p.scale(0.72, 0.30);
    DrawTag(p, Amber, Navy);
    p.restore();

    p.save();
    p.translate(0.26, 0.10);
    p.scale(0.48, 0.46);
    DrawNotes(p, Paper);
    p.restore();
}

QImage FrameIcon(int size)
{
    QImage image = NewCanvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size, size);
    DrawFrame(p);
    return image;
}

// The same drawing as a scalable icon.
bool SaveFrameSvg(const QString& fileName)
{
    const int size = 256;
    QSvgGenerator svg;
    svg.setFileName(fileName);
    svg.setSize(QSize(size, size));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setTitle(QStringLiteral("Morvik"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    p.scale(size, size);
    DrawFrame(p);
    return p.end();
}

QImage DocumentIcon(int size)
{
    QImage image = NewCanvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size, size);
    QPainterPath page;
    page.moveTo(0.14, 0.03);
    page.lineTo(0.64, 0.03);
    page.lineTo(0.88, 0.27);
    page.lineTo(0.88, 0.97);
    page.lineTo(0.14, 0.97);
    page.closeSubpath();
    p.setPen(QPen(Navy, 0.06));
    p.setBrush(Paper);
    p.drawPath(page);
    p.setBrush(Sky);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(0.64, 0.03), QPointF(0.88, 0.27), QPointF(0.64, 0.27)}));

    p.translate(0.24, 0.36);
    p.scale(0.52, 0.52);
    DrawNotes(p, Navy);
    return image;
}

QImage Banner()
{
    QImage image = NewCanvas(267, 44);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 267, 0);
    sky.setColorAt(0, Navy);
    sky.setColorAt(1, Sky);
    p.fillRect(image.rect(), sky);

    p.save();
    p.translate(6, 4);
    p.drawImage(QRect(0, 0, 36, 36), FrameIcon(144));
    p.restore();

    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(22);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Paper);
    p.drawText(QRect(50, 2, 210, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Morvik"));

    QFont note(QStringLiteral("Tahoma"));
    note.setPixelSize(11);
    p.setFont(note);
    p.setPen(Amber);
    p.drawText(QRect(51, 26, 210, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("редактор тегов ID3v1"));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"));
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    bool ok = true;
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = ok && FrameIcon(size).save(dir + QStringLiteral("frame_%1.png").arg(size));
    ok = ok && SaveFrameSvg(dir + QStringLiteral("frame.svg")) &&
         DocumentIcon(16).save(dir + QStringLiteral("document_16.png")) &&
         DocumentIcon(32).save(dir + QStringLiteral("document_32.png")) &&
         Banner().save(dir + QStringLiteral("banner.png"));
    return ok ? 0 : 1;
}
