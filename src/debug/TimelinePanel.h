// The front panel as a recording debugger sees it. Live, it passes everything
// on and notes which wait inside an instruction an input arrives in (a poll of
// the terminal status, a read waiting for a key, an I/O pause), so a replay can
// hand the input over at the same moment. Replaying, it answers every dialog
// itself, writes nothing a second time (terminal echo, printer, beep, hard
// copy) and hands over the recorded inputs at those waits; a quiet replay
// (going back) shows nothing at all, a replay going forward keeps the panel's
// repaints and events.
#pragma once

#include "core/FrontPanel.h"

namespace hexmoor {

// Where an input arrived: between two passes, or inside an instruction's wait.
enum class TWithin : uint8_t { Between, StatusPoll, Read, IoPause };

// What the panel asks of the recording while it replays.
class TRecordedWaits {
public:
    virtual ~TRecordedWaits() = default;
    // The instruction under way waits (`within`): the inputs recorded there are
    // handed over (true). False: nothing was recorded here, the panel waits as it
    // does live.
    virtual bool Wait(TWithin within) = 0;
};

class TTimelinePanel final : public TFrontPanel {
public:
    enum class TMode : uint8_t { Live, Forward, Quiet };

    TTimelinePanel(TFrontPanel& panel, TRecordedWaits& waits, const bool& waitingForInput)
        : panel_(panel), waits_(waits), waitingForInput_(waitingForInput) {}

    TMode Mode = TMode::Live;
    // Live: where an input arriving now arrives.
    TWithin Within() const { return within_; }

    void PanelChanged(TPanelItem item) override {
        if (Mode != TMode::Quiet) panel_.PanelChanged(item);
    }
    void TerminalWritten(uint8_t byte) override {
        if (Mode == TMode::Live) panel_.TerminalWritten(byte);
    }
    void TerminalEscaped(uint8_t command, uint8_t column, uint8_t row) override {
        if (Mode == TMode::Live) panel_.TerminalEscaped(command, column, row);
    }
    TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) override;
    std::optional<std::string> AskFileName(const TFileQuestion& question) override {
        return Mode == TMode::Quiet ? std::nullopt : panel_.AskFileName(question);
    }
    std::optional<std::string> AskBreakPointAddress(const std::string& current) override {
        return Mode == TMode::Quiet ? std::nullopt : panel_.AskBreakPointAddress(current);
    }
    void PumpEvents() override {
        if (Mode != TMode::Quiet) panel_.PumpEvents();
    }
    TMessageResult WaitForIoPause() override;
    void WaitForEvents() override;
    void StatusFoundNoInput() override;
    void WaitUntil(std::chrono::steady_clock::time_point time) override {
        if (Mode != TMode::Quiet) panel_.WaitUntil(time);
    }
    void Beep() override {
        if (Mode == TMode::Live) panel_.Beep();
    }
    void FocusTerminal() override {
        if (Mode != TMode::Quiet) panel_.FocusTerminal();
    }
    void HardCopy(const std::vector<std::string>& rows) override {
        if (Mode == TMode::Live) panel_.HardCopy(rows);
    }
    std::string PrinterWrite(uint8_t byte) override { return Mode == TMode::Live ? panel_.PrinterWrite(byte) : ""; }
    void PrinterClose() override { panel_.PrinterClose(); }

private:
    TFrontPanel& panel_;
    TRecordedWaits& waits_;
    const bool& waitingForInput_;  // the machine's: a read of the terminal waits for a key
    TWithin within_ = TWithin::Between;
};

}  // namespace hexmoor
