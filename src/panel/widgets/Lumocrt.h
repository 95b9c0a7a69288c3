// TLumocrt: the terminal control, drawing a TTerminalScreen with a caret, repainting only
// what changed and coalescing the whole-screen repaints that scrolling asks for.
#pragma once

#include <QFont>
#include <QWidget>

#include <memory>
#include <string>

#include "io/Lumocrt/TerminalScreen.h"

namespace hexmoor {

// The character a byte shows: Windows-1252 (so $B0 is the degree sign).
QChar FromWindows1252(uint8_t byte);

class TLumocrt : public QWidget {
    Q_OBJECT
public:
    // Draws `screen`, or a screen of its own when none is given.
    explicit TLumocrt(QWidget* parent = nullptr, TTerminalScreen* screen = nullptr);
    ~TLumocrt() override;

    TTerminalScreen& Screen() { return *screen_; }

    // Writes through the screen and repaints what changed; BEL beeps.
    void WriteChar(uint8_t byte);
    void WriteText(const std::string& bytes);
    void ClrScr();
    void ClrEol();
    void ClrEos();
    void GotoXY(int column, int row);

    // Takes what changed on the screen (also when someone else wrote to it) and repaints it.
    void Refresh();

    void SetColumns(int columns);
    void SetRows(int rows);
    void SetBackColor(TColour colour) { screen_->BackColor = colour; }
    void SetTextColor(TColour colour) { screen_->TextColor = colour; }
    void SetLineBreak(TLineBreak lineBreak) { screen_->LineBreak = lineBreak; }
    void SetCursor(bool visible);
    void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }
    void SetScreenFont(const QFont& font);
    QFont PrinterFont, Font80, Font132;  // the owner prints hard copies in PrinterFont

    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // Whole-screen repaints done at once because scrolls piled up (for tests).
    int ForcedRepaints() const { return forcedRepaints_; }

    virtual void PlaceCaret();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent*) override { emit Clicked(); }
    void mouseDoubleClickEvent(QMouseEvent*) override { emit DoubleClicked(); }
    bool focusNextPrevChild(bool) override { return false; }  // keep every key

signals:
    void Clicked();
    void DoubleClicked();

private:
    void Measure();
    void Scrolled();
    void RepaintWholeScreen();
    QRect CellRect(int firstColumn, int lastColumn, int firstRow, int lastRow) const;

    std::unique_ptr<TTerminalScreen> ownScreen_;
    TTerminalScreen* screen_;
    int cellWidth_ = 1, cellHeight_ = 1;
    bool ownerDraw_ = false;
    bool repaintPending_ = false;
    int scrollCount_ = 0;
    int forcedRepaints_ = 0;
    QRect caret_;
};

}  // namespace hexmoor
