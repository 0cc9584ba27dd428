#include "graphics/DrawUtils_qt.h"

#include "graphics/OrlenSheet_qt.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <QPen>

namespace quillon {

namespace {

// Outline covering columns Left..Right − 1 and rows Top..Bottom − 1, as a 1-pixel pen draws it.
void Outline(QPainter& painter, const TRect& r, const QColor& color) {
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1)
        return;
    painter.setPen(QPen(color, 0));
    painter.drawRect(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
}

TRect Inset(const TRect& r, int by) { return TRect{r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

}  // namespace

void DrawCursorFrame(TOrlenBoard& board, const QColor& color, const TRect& rect) {
    QImage image = BoardImage(board);
    if (image.isNull())
        return;
    QPainter painter(&image);
    painter.setBrush(Qt::NoBrush);
    Outline(painter, rect, Qt::black);
    Outline(painter, Inset(rect, 3), Qt::black);
    Outline(painter, Inset(rect, 2), Qt::white);
    Outline(painter, Inset(rect, 1), color);
}

void FillEmptyPattern(QPainter& canvas, int offsetX, int offsetY) {
    // The running application's button colours; the classic grey pair without one.
    QColor shadow(128, 128, 128), face(192, 192, 192);
    if (QGuiApplication::instance()) {
        shadow = QGuiApplication::palette().color(QPalette::Dark);
        face = QGuiApplication::palette().color(QPalette::Button);
    }
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(shadow);
    for (int i = 0; i < 8; ++i) {
        tile.setPixel(i, i, face.rgb());
        tile.setPixel(7 - i, i, face.rgb());
    }
    QBrush brush(tile);
    canvas.save();
    canvas.setBrushOrigin(-offsetX, -offsetY);
    const QRect area = canvas.hasClipping() ? canvas.clipBoundingRect().toAlignedRect()
                                            : QRect(0, 0, canvas.device()->width(), canvas.device()->height());
    canvas.fillRect(area, brush);
    canvas.restore();
}

int MarchingOffset(std::int64_t time, int speed) {
    const std::int64_t offset = (time * speed / 1024) % 96;
    return static_cast<int>(offset < 0 ? offset + 96 : offset);
}

void DrawMarchingFrame(QPainter& canvas, std::int64_t time, int speed, const QColor& brushColor,
                       const QColor& penColor, Qt::PenStyle penStyle, const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    const int offset = MarchingOffset(time, speed);
    const int right = rect.Right - 1;
    const int bottom = rect.Bottom - 1;
    // Each edge runs clockwise and starts offset pixels before its corner.
    const QLine edges[4] = {
        QLine(rect.Left - offset, rect.Top, right, rect.Top),
        QLine(right, rect.Top - offset, right, bottom),
        QLine(right + offset, bottom, rect.Left, bottom),
        QLine(rect.Left, bottom + offset, rect.Left, rect.Top),
    };
    canvas.save();
    canvas.setClipRect(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top), Qt::IntersectClip);
    canvas.setPen(QPen(brushColor, 0, Qt::SolidLine));
    for (const QLine& edge : edges)
        canvas.drawLine(edge);
    canvas.setPen(QPen(penColor, 0, penStyle));
    for (const QLine& edge : edges)
        canvas.drawLine(edge);
    canvas.restore();
}

}  // namespace quillon
