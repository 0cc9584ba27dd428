#include "graphics/DrawUtils_qt.h"
#include "graphics/HighColorDIB_qt.h"
#include "graphics/OrlenSheet_qt.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(BoardImage, SharesTheBoardsMemoryAndShowsItsColours) {
    TOrlenBoard board;
    board.SetSize(3, 2);
    board.ScanLine(1)[2] = 31 << 11;  // pure red in 5-6-5
    QImage image = BoardImage(board);
    EXPECT_EQ(image.format(), QImage::Format_RGB16);
    EXPECT_EQ(image.constBits(), board.Bits());
    EXPECT_EQ(image.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));

    THighColorDIB dib;
    dib.SetSize(2, 2);
    dib.ScanLine(1)[0] = 31 << 5;  // pure green in 5-5-5
    const QImage dibImage = HighColorDIBImage(dib);
    EXPECT_EQ(dibImage.format(), QImage::Format_RGB555);
    EXPECT_EQ(dibImage.pixel(0, 1), qRgb(0, 255, 0));

    // Drawn at an offset, only the top-left part that fits goes out.
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::blue);
    {
        QPainter painter(&target);
        DrawBoardTo(board, painter, 1, 0);
    }
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(3, 1), qRgb(0, 0, 255));  // the board's red pixel is outside the copied part
}

TEST(DrawUtilsQt, CursorFrameMarchingFrameAndPattern) {
    TOrlenBoard board;
    board.SetSize(10, 10);
    DrawCursorFrame(board, QColor(255, 0, 0), TRect{0, 0, 10, 10});
    const QImage image = BoardImage(board);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(8, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 6), qRgb(0, 0, 0));

    EXPECT_EQ(MarchingOffset(0, 16), 0);
    EXPECT_EQ(MarchingOffset(6400, 16), 4);  // 6400 × 16 / 1024 = 100, mod 96
    QImage canvas(12, 12, QImage::Format_RGB32);
    canvas.fill(Qt::green);
    {
        QPainter painter(&canvas);
        DrawMarchingFrame(painter, 6400, 16, Qt::black, Qt::white, Qt::DotLine, TRect{2, 2, 10, 10});
    }
    int white = 0;
    for (int x = 2; x < 10; ++x) {
        const QRgb p = canvas.pixel(x, 2);
        EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x;
        white += p == qRgb(255, 255, 255);
    }
    EXPECT_GT(white, 0);
    EXPECT_EQ(canvas.pixel(1, 2), qRgb(0, 255, 0));  // clipped to the frame
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(0, 255, 0));

    // The pattern's origin follows the offset: shifting by one pixel shifts the picture.
    QImage a(16, 16, QImage::Format_RGB32), b(16, 16, QImage::Format_RGB32);
    {
        QPainter pa(&a), pb(&b);
        FillEmptyPattern(pa, 0, 0);
        FillEmptyPattern(pb, 1, 0);
    }
    EXPECT_EQ(a.pixel(0, 0), a.pixel(7, 0));  // both on the cross
    EXPECT_NE(a.pixel(0, 0), a.pixel(1, 0));
    for (int x = 0; x < 15; ++x)
        EXPECT_EQ(b.pixel(x, 3), a.pixel(x + 1, 3)) << x;
}
