// The terminal link: the status and data ports, the input buffer, escape sequences and
// the printer port.
#include <utility>

#include "core/Machine.h"

namespace hexmoor {

namespace {

constexpr uint8_t kEscape = 7;
constexpr TColour kWindowColour = kWhite;

}  // namespace

// A program that polls the status port sees an input file's next line as typed input.
void TMachine::ConsoleStatus() {
    if (InputBuffer.Empty() && InputFileOpen) FeedNextLine();
    DataByte = InputBuffer.Empty() ? 0 : 1;
    if (DataByte == 0) FrontPanel.StatusFoundNoInput();
}

// Waits in the window's event loop (never spinning) until a key, an input file or a
// control that ends the wait fills the buffer. The abort byte reads as 0.
void TMachine::ConsoleInput() {
    if (InputBuffer.Empty() && InputFileOpen) FeedNextLine();
    if (InputBuffer.Empty()) {
        Change(Panel.InputConsoleColour, kLime, TPanelItem::Terminal);
        WaitingForInput = true;
        while (InputBuffer.Empty()) {
            FrontPanel.FocusTerminal();
            FrontPanel.WaitForEvents();
        }
        WaitingForInput = false;
        Change(Panel.InputConsoleColour, kWindowColour, TPanelItem::Terminal);
    }
    const uint8_t byte = uint8_t(InputBuffer.Front());
    DataByte = byte == uint8_t(kAbortByte) ? 0 : byte;
    // The rest stays whole, however long: typed-ahead text is never cut.
    InputBuffer.PopFront();
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ConsoleOutput() {
    FrontPanel.FocusTerminal();
    const uint8_t byte = RegisterWriteByte;
    if (ConsoleEscape) {
        ConsoleEscapeByte(byte);
    } else if (byte == kEscape) {
        ConsoleEscape = true;
        ConsoleEscapeState = 0;
        return;
    } else {
        if (Screen.WriteChar(byte)) FrontPanel.Beep();
        FrontPanel.TerminalWritten(byte);
    }
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

// 7,0 clear screen; 7,1 clear to end of line; 7,2 to end of screen; 7,3 hard copy;
// 7,4,column,row cursor move; 7,5 and 7,6 hide and show the caret.
void TMachine::ConsoleEscapeByte(uint8_t byte) {
    if (ConsoleEscapeState == 1) {
        ConsoleGotoColumn = byte;
        ConsoleEscapeState = 2;
        return;
    }
    if (ConsoleEscapeState == 2) {
        Screen.GotoXY(ConsoleGotoColumn, byte);
        ConsoleEscape = false;
        FrontPanel.TerminalEscaped(4, ConsoleGotoColumn, byte);
        return;
    }
    switch (byte) {
    case 0: Screen.ClrScr(); break;
    case 1: Screen.ClrEol(); break;
    case 2: Screen.ClrEos(); break;
    case 3: HardCopyClick(); break;
    case 4: ConsoleEscapeState = 1; return;
    case 5: Screen.Cursor = false; break;
    case 6: Screen.Cursor = true; break;
    default: break;
    }
    ConsoleEscape = false;
    FrontPanel.TerminalEscaped(byte, 0, 0);
}

void TMachine::FormKeyPress(uint8_t key) {
    if (InputFileOpen) return;  // the file feeds the input meanwhile
    InputBuffer.Append(char(key));
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

// The waiting read then takes the abort byte and the program goes on.
void TMachine::ReleaseInputWait() {
    if (!WaitingForInput) return;
    InputBuffer.Assign(std::string_view(&kAbortByte, 1));
    WaitingForInput = false;
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ClrScr() {
    Screen.ClrScr();
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ClearInputBufferClick() {
    InputBuffer.Clear();
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::HardCopyClick() {
    std::vector<std::string> rows;
    for (int row = 1; row <= Screen.Rows(); ++row) rows.push_back(Screen.RowText(row));
    FrontPanel.HardCopy(rows);
}

void TMachine::BringtoFrontMenuClick() {
    if (!Panel.BringtoFrontMenu.Enabled) return;
    Panel.ConsoleInFront = !Panel.ConsoleInFront;
    Panel.BringtoFrontCaption = Panel.ConsoleInFront ? "Send To &Back" : "Bring To &Front";
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

void TMachine::ConsoleClick() { FrontPanel.FocusTerminal(); }

// Printer bytes go out one by one, untranslated. A failing printer is reported once; the
// program goes on, and its later bytes are counted and dropped until the user closes the
// printer output, which says how many were lost.
void TMachine::PrinterOutput() {
    if (!PrinterOpen) {
        PrinterOpen = true;
        Change(Panel.CloseMenu.Enabled, true, TPanelItem::Menus);
    }
    if (PrinterFailed) {
        ++PrinterDroppedBytes;
        return;
    }
    const std::string error = FrontPanel.PrinterWrite(RegisterWriteByte);
    if (error.empty()) return;
    PrinterFailed = true;
    PrinterDroppedBytes = 1;
    FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                           "Cannot print: " + error +
                               ".\rFurther printer output is dropped until the printer is closed.");
}

void TMachine::CloseMenuClick() {
    if (!PrinterOpen) return;
    FrontPanel.PrinterClose();
    PrinterOpen = false;
    Change(Panel.CloseMenu.Enabled, false, TPanelItem::Menus);
    if (!PrinterFailed) return;
    PrinterFailed = false;
    const uint64_t dropped = std::exchange(PrinterDroppedBytes, 0);
    FrontPanel.ShowMessage(TMessageKind::Information, TMessageButtons::Ok,
                           std::to_string(dropped) + (dropped == 1 ? " byte" : " bytes") +
                               " could not be printed.");
}

}  // namespace hexmoor
