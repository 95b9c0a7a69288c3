// The terminal link: the status and data ports, the input buffer, escape sequences and
// the printer port.
#include <utility>

#include "core/Machine.h"

namespace hexmoor {

namespace {

constexpr uint8_t kEscape = 7;
constexpr TColour kWindowColour = kWhite;

}  // namespace

// An empty read is a poll, which the wait-loop test looks at. An input file types its next
// line at a poll when the program waits for a key at its prompt (or has long been quiet),
// not when it merely looks for an abort key while it works; the read then finds the line.
void TMachine::ConsoleStatus() {
    if (InputBuffer.Empty()) {
        WaitLoop.Polled({RegisterPC, RegisterX, RegisterY, RegisterSP, RegisterA, RegisterB}, CycleCount);
        if (InputFileOpen && WaitLoop.ReadyForLine(CycleCount)) FeedNextLine();
        if (InputBuffer.Empty()) FrontPanel.StatusFoundNoInput();
    }
    DataByte = InputBuffer.Empty() ? 0 : 1;
}

// Waits in the window's event loop (never spinning) until a key or an input file fills the
// buffer, or a control ends the wait: then the instruction is abandoned.
void TMachine::ConsoleInput() {
    if (InputBuffer.Empty() && InputFileOpen) FeedNextLine();
    if (InputBuffer.Empty()) {
        Change(Panel.InputConsoleColour, kLime, TPanelItem::TypedInput);
        WaitingForInput = true;
        InputWaitReleased = false;
        while (InputBuffer.Empty() && !InputWaitReleased) {
            FrontPanel.FocusTerminal();
            FrontPanel.WaitForEvents();
        }
        WaitingForInput = false;
        Change(Panel.InputConsoleColour, kWindowColour, TPanelItem::TypedInput);
        if (std::exchange(InputWaitReleased, false)) throw TReadAbandoned{};
    }
    DataByte = uint8_t(InputBuffer.Front());
    // The rest stays whole, however long: typed-ahead text is never cut.
    InputBuffer.PopFront();
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
}

void TMachine::ConsoleOutput() {
    WaitLoop.Output(CycleCount);
    TerminalOutput(RegisterWriteByte);
}

// Bytes from the data port and from the SCI alike.
void TMachine::TerminalOutput(uint8_t byte) {
    FrontPanel.FocusTerminal();
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
    FrontPanel.PanelChanged(TPanelItem::TerminalScreen);
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
    InputArrived();
    RecordInput(TInput::Key, key);
}

// The waiting read gives up: its instruction is abandoned, and typed bytes stay typed.
void TMachine::ReleaseInputWait() {
    if (!WaitingForInput) return;
    InputWaitReleased = true;
    WaitingForInput = false;
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
}

void TMachine::ClrScr() {
    Screen.ClrScr();
    FrontPanel.PanelChanged(TPanelItem::TerminalScreen);
}

void TMachine::ClearInputBufferClick() {
    InputBuffer.Clear();
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
    RecordInput(TInput::ClearInput);
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
    FrontPanel.PanelChanged(TPanelItem::TerminalStacking);
    FrontPanel.PanelChanged(TPanelItem::Menus);
}

void TMachine::ConsoleClick() { FrontPanel.FocusTerminal(); }

// Printer bytes go out one by one, untranslated. A failing printer is reported once; the
// program goes on, and its later bytes are counted and dropped until the user closes the
// printer output, which says how many were lost.
void TMachine::PrinterOutput() {
    WaitLoop.Wrote();
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
    FrontPanel.ShowMessage(TMessageKind::WriteFailed, TMessageButtons::Ok,
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
