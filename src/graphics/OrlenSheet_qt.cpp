#include "graphics/OrlenSheet_qt.h"

namespace quillon {

QImage BoardImage(TOrlenBoard& board) {
    if (board.Width() == 0 || board.Height() == 0)
        return QImage();
    return QImage(board.Bits(), board.Width(), board.Height(), board.RowBytes(), QImage::Format_RGB16);
}

QImage BoardImage(const TOrlenBoard& board) {
    if (board.Width() == 0 || board.Height() == 0)
        return QImage();
    return QImage(board.Bits(), board.Width(), board.Height(), board.RowBytes(), QImage::Format_RGB16);
}

void DrawBoardTo(const TOrlenBoard& board, QPainter& canvas, int x, int y) {
    const int width = board.Width() - x;
    const int height = board.Height() - y;
    if (width <= 0 || height <= 0)
        return;
    canvas.drawImage(QPoint(x, y), BoardImage(board), QRect(0, 0, width, height));
}

void StretchDrawBoardTo(const TOrlenBoard& board, QPainter& canvas, const QRect& rect) {
    if (board.Width() == 0 || board.Height() == 0)
        return;
    canvas.drawImage(rect, BoardImage(board));
}

}  // namespace quillon
