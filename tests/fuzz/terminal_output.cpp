// Arbitrary bytes written to the terminal data port, escape sequences and all: the screen
// stays a consistent grid with the cursor on it.
#include <memory>

#include "FuzzPanel.h"

using namespace hexmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    TMachine& m = *machine;
    if (size >= 2) {  // the first two bytes size the screen (values outside the ranges are ignored)
        m.Screen.SetColumns(data[0]);
        m.Screen.SetRows(data[1]);
    }
    for (std::size_t i = 2; i < size; ++i) {
        m.EffectiveAddress = 0x1037;
        m.DataByte = data[i];
        m.StoreByte();
        const TTerminalScreen& screen = m.Screen;
        if (screen.CursorX() < 1 || screen.CursorX() > screen.Columns() || screen.CursorY() < 1 ||
            screen.CursorY() > screen.Rows())
            fuzz::Fail("cursor off the screen");
        if (m.ConsoleEscapeState > 2) fuzz::Fail("escape state out of range");
    }
    const TTerminalScreen& screen = m.Screen;
    if (screen.Columns() < 2 || screen.Columns() > TTerminalScreen::kMaxColumns ||
        screen.Rows() < 2 || screen.Rows() > TTerminalScreen::kMaxRows)
        fuzz::Fail("screen size out of range");
    for (int row = 1; row <= screen.Rows(); ++row)
        if (int(screen.RowText(row).size()) != screen.Columns()) fuzz::Fail("a row of the wrong width");
    return 0;
}
