#include "panel/Glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace hexmoor {

namespace {

constexpr int kGlyphSize = 17;

QPixmap Draw(int width, int height, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

void FallingEdge(QPainter& painter, QColor colour) {
    painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPolyline(QPolygonF({{1, 4}, {8, 4}, {8, 13}, {16, 13}}));
    // An arrow down the edge.
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygonF({{5, 8}, {11, 8}, {8, 12}}));
}

}  // namespace

QPixmap IrqGlyph() {
    return Draw(kGlyphSize, kGlyphSize, [](QPainter& p) { FallingEdge(p, QColor(0, 0, 160)); });
}

QPixmap XIrqGlyph() {
    return Draw(kGlyphSize, kGlyphSize, [](QPainter& p) {
        FallingEdge(p, QColor(160, 0, 0));
        p.setPen(QPen(QColor(160, 0, 0), 1.5));
        p.drawLine(QPointF(11, 1), QPointF(16, 7));
        p.drawLine(QPointF(16, 1), QPointF(11, 7));
    });
}

QPixmap ResetGlyph() {
    return Draw(kGlyphSize, kGlyphSize, [](QPainter& p) {
        const QColor colour(0, 110, 0);
        p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(2.5, 2.5, 12, 12), 100 * 16, 290 * 16);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{7, 0}, {12, 3}, {7, 6.5}}));
    });
}

QPixmap OkGlyph() {
    return Draw(kGlyphSize, kGlyphSize, [](QPainter& p) {
        p.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 9}, {7, 13}, {14, 4}}));
    });
}

QPixmap CancelGlyph() {
    return Draw(kGlyphSize, kGlyphSize, [](QPainter& p) {
        p.setPen(QPen(QColor(192, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(13, 13));
        p.drawLine(QPointF(13, 4), QPointF(4, 13));
    });
}

// A dusk sky over a dark moor, and a 68HC11 in its 68-pin carrier standing on it.
QPixmap AboutPicture() {
    return Draw(160, 240, [](QPainter& p) {
        QLinearGradient sky(0, 0, 0, 150);
        sky.setColorAt(0, QColor(20, 24, 80));
        sky.setColorAt(1, QColor(200, 120, 90));
        p.fillRect(0, 0, 160, 150, sky);
        QPainterPath moor;
        moor.moveTo(0, 130);
        moor.cubicTo(40, 110, 90, 140, 160, 118);
        moor.lineTo(160, 240);
        moor.lineTo(0, 240);
        moor.closeSubpath();
        p.fillPath(moor, QColor(48, 64, 36));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 240, 200));
        p.drawEllipse(QPointF(118, 40), 12, 12);

        const QRectF chip(35, 125, 90, 90);
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(chip);
        p.setBrush(QColor(200, 190, 150));
        for (int i = 0; i < 17; ++i) {  // 17 pins a side
            const double at = chip.left() + 5 + i * 4.8;
            p.drawRect(QRectF(at, chip.top() - 4, 2.4, 4));
            p.drawRect(QRectF(at, chip.bottom(), 2.4, 4));
            const double down = chip.top() + 5 + i * 4.8;
            p.drawRect(QRectF(chip.left() - 4, down, 4, 2.4));
            p.drawRect(QRectF(chip.right(), down, 4, 2.4));
        }
        p.setPen(QColor(230, 230, 230));
        QFont font("Liberation Sans");
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.drawText(chip, Qt::AlignCenter, "68HC11\nF1");
    });
}

}  // namespace hexmoor
