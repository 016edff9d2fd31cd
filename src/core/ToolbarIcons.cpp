#include "core/ToolbarIcons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>
#include <algorithm>

namespace {

// One small palette keeps the twelve pictures looking like one family.
const QColor ink(0x33, 0x3b, 0x47);
const QColor paper(0xff, 0xff, 0xff);
const QColor paperShade(0xd5, 0xdc, 0xe5);
const QColor textLine(0x8c, 0x9c, 0xb0);
const QColor blue(0x3b, 0x82, 0xf6);
const QColor blueDark(0x1d, 0x4e, 0xb4);
const QColor blueLight(0xc4, 0xdd, 0xfd);
const QColor amber(0xf2, 0xb1, 0x3a);
const QColor amberLight(0xfc, 0xd7, 0x6e);
const QColor amberDark(0x9a, 0x62, 0x0c);
const QColor red(0xdc, 0x3c, 0x3c);
const QColor green(0x22, 0xa8, 0x5a);
const QColor steel(0xa9, 0xb4, 0xc2);
const QColor steelDark(0x5d, 0x68, 0x78);

bool darkDesktop()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

// Strokes that stand alone, with no filled shape behind them, would vanish
// on a dark toolbar, so there they are drawn light.
QColor glyphInk() { return darkDesktop() ? QColor(0xdd, 0xe2, 0xe8) : ink; }

// Every picture is drawn on a 16 x 16 grid. Outlines one unit wide run along
// the middle of a grid square (x.5), so they cover whole pixels at 16 px and
// at every whole multiple of it.
QPen edge(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void shape(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& outline)
{
    p.setPen(edge(outline));
    p.setBrush(fill);
    p.drawPath(path);
}

void box(QPainter& p, qreal left, qreal top, qreal right, qreal bottom,
         const QColor& fill, const QColor& outline)
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
    shape(p, path, fill, outline);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// Rows of "text" on a sheet of paper, one grid square high.
void lines(QPainter& p, int left, int right, std::initializer_list<int> rows, const QColor& colour)
{
    for (int row : rows)
        p.fillRect(QRectF(left, row, right - left, 1), colour);
}

void drawNew(QPainter& p)
{
    shape(p, polygon({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}), paper, ink);
    shape(p, polygon({{9.5, 1.5}, {12.5, 4.5}, {9.5, 4.5}}), paperShade, ink);
}

void drawOpen(QPainter& p)
{
    shape(p, polygon({{1.5, 14.5}, {1.5, 2.5}, {5.5, 2.5}, {7.5, 4.5}, {12.5, 4.5}, {12.5, 14.5}}),
          amber, amberDark);
    shape(p, polygon({{1.5, 14.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 14.5}}), amberLight, amberDark);
}

void drawSave(QPainter& p)
{
    shape(p, polygon({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}), blue, blueDark);
    box(p, 4.5, 1.5, 10.5, 5.5, paperShade, blueDark);  // metal shutter
    p.fillRect(QRectF(8, 2, 2, 3), blueDark);
    box(p, 3.5, 8.5, 12.5, 14.5, paper, blueDark);  // label
    lines(p, 5, 11, {10, 12}, textLine);
}

void drawPrint(QPainter& p)
{
    box(p, 4.5, 1.5, 11.5, 6.5, paper, ink);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 5.5, 13, 6), 1, 1);
    shape(p, body, steel, ink);
    p.fillRect(QRectF(12, 7, 1, 1), green);
    box(p, 4.5, 9.5, 11.5, 14.5, paper, ink);
    lines(p, 6, 10, {11, 13}, textLine);
}

void drawCut(QPainter& p)
{
    // Two blades crossing at a pivot, their handles as rings below.
    p.setPen(QPen(glyphInk(), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.6, 10.4), QPointF(11, 1.5));
    p.drawLine(QPointF(10.4, 10.4), QPointF(5, 1.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(red, 1.5));
    p.drawEllipse(QPointF(4.5, 12.5), 2.25, 2.25);
    p.drawEllipse(QPointF(11.5, 12.5), 2.25, 2.25);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawEllipse(QPointF(8, 6.6), 0.8, 0.8);
}

void drawCopy(QPainter& p)
{
    box(p, 1.5, 1.5, 9.5, 11.5, paper, ink);
    lines(p, 3, 8, {4, 6, 8}, textLine);
    box(p, 6.5, 4.5, 14.5, 14.5, paper, ink);
    lines(p, 8, 13, {7, 9, 11}, blue);
}

void drawPaste(QPainter& p)
{
    QPainterPath board;
    board.addRoundedRect(QRectF(1.5, 2.5, 11, 12), 1, 1);
    shape(p, board, amber, amberDark);
    box(p, 4.5, 1.5, 9.5, 3.5, steel, ink);  // clip
    box(p, 6.5, 6.5, 14.5, 14.5, paper, ink);
    lines(p, 8, 13, {9, 11}, blue);
}

void drawUndo(QPainter& p)
{
    QPainterPath arc;
    arc.moveTo(13, 14.5);
    arc.cubicTo(13, 9.5, 11, 7, 7, 7);
    arc.lineTo(5, 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(polygon({{0.5, 7}, {6, 1.5}, {6, 12.5}}));
}

void drawFind(QPainter& p)
{
    p.setPen(QPen(glyphInk(), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14, 14));
    p.setPen(QPen(glyphInk(), 1.5));
    p.setBrush(blueLight);
    p.drawEllipse(QPointF(6.5, 6.5), 4.75, 4.75);
    p.setPen(QPen(paper, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.6, 3.6, 5.8, 5.8), 100 * 16, 70 * 16);  // glint on the glass
}

void drawExit(QPainter& p)
{
    box(p, 1.5, 1.5, 9.5, 14.5, steelDark, ink);  // the dark doorway
    shape(p, polygon({{1.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {1.5, 14.5}}), amber, amberDark);  // open door
    p.fillRect(QRectF(4, 8, 1, 2), amberDark);  // knob
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(polygon({{8, 7}, {11, 7}, {11, 4}, {15.5, 8.5}, {11, 13}, {11, 10}, {8, 10}}));
}

// A serif capital A: a thin left stroke, a heavy right stroke, a bar and
// two foot serifs, drawn as one outline so no font is needed.
void drawFont(QPainter& p)
{
    QPainterPath letter = polygon({{6.9, 1}, {8.5, 1}, {13, 13.5}, {10.6, 13.5}});
    letter = letter.united(polygon({{6.9, 1}, {7.8, 1}, {4, 13.5}, {2.9, 13.5}}));
    letter = letter.united(polygon({{4.6, 9}, {11.4, 9}, {11.8, 10}, {4.3, 10}}));
    QPainterPath serifs;
    serifs.addRect(QRectF(1, 13, 5, 1));
    serifs.addRect(QRectF(9, 13, 6, 1));
    letter = letter.united(serifs);
    p.setPen(Qt::NoPen);
    p.setBrush(glyphInk());
    p.drawPath(letter);
}

void drawHelp(QPainter& p)
{
    p.setPen(edge(blueDark));
    p.setBrush(blue);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    QPainterPath hook;
    hook.moveTo(5.7, 6.1);
    hook.cubicTo(5.7, 4.4, 6.8, 3.6, 8, 3.6);
    hook.cubicTo(9.4, 3.6, 10.4, 4.5, 10.4, 5.8);
    hook.cubicTo(10.4, 7.6, 8, 7.8, 8, 9.6);
    p.setPen(QPen(paper, 1.9, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawEllipse(QPointF(8, 11.9), 1.15, 1.15);
}

void drawSeparator(QPainter& p)
{
    p.fillRect(QRectF(7, 1, 1, 14), steel);
    p.fillRect(QRectF(8, 1, 1, 14), paper);
}

using Drawing = void (*)(QPainter&);

// Greyed pictures keep their shapes readable: colours become grey tones
// squeezed into the lighter half, and the whole picture is faded.
QImage disabledLook(const QImage& source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = 110 + qGray(pixel) * 120 / 255;
            const int alpha = qAlpha(pixel);
            line[x] = qRgba(grey, grey, grey, alpha > 0 ? std::max(1, alpha * 3 / 4) : 0);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage render(Drawing draw, const QSize& pixels, QIcon::Mode mode)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const int side = std::min(pixels.width(), pixels.height());
    if (side > 0) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate((pixels.width() - side) / 2, (pixels.height() - side) / 2);
        painter.scale(side / 16.0, side / 16.0);
        draw(painter);
    }
    return mode == QIcon::Disabled ? disabledLook(image) : image;
}

class ToolbarIconEngine final : public QIconEngine {
public:
    ToolbarIconEngine(Drawing draw, int number) : m_draw(draw), m_number(number) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // QIcon asks for the size in device pixels, already multiplied by the
    // scale; the picture is drawn afresh for exactly that many pixels.
    QPixmap scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QString cacheKey = QStringLiteral("pagewell-toolbar-%1-%2x%3-%4-%5")
                                     .arg(m_number).arg(pixels.width()).arg(pixels.height())
                                     .arg(mode == QIcon::Disabled ? 1 : 0).arg(darkDesktop() ? 1 : 0);
        QPixmap pixmap;
        if (!QPixmapCache::find(cacheKey, &pixmap)) {
            pixmap = QPixmap::fromImage(render(m_draw, pixels, mode));
            QPixmapCache::insert(cacheKey, pixmap);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    QIconEngine* clone() const override { return new ToolbarIconEngine(m_draw, m_number); }
    QString key() const override { return QStringLiteral("PagewellToolbarIcon"); }

private:
    Drawing m_draw;
    int m_number;
};

}  // namespace

QIcon toolbarIcon(int imageNumber)
{
    static const Drawing drawings[12] = {drawNew, drawOpen, drawSave, drawPrint, drawCut, drawCopy,
                                         drawPaste, drawUndo, drawFind, drawExit, drawFont, drawHelp};
    if (imageNumber < imgNew || imageNumber > imgHelp)
        return QIcon();
    return QIcon(new ToolbarIconEngine(drawings[imageNumber - 1], imageNumber));
}

QIcon toolbarSeparatorIcon() { return QIcon(new ToolbarIconEngine(drawSeparator, 0)); }
