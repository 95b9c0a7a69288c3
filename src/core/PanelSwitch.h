// The machine's way to its front panel: every call goes to the panel it was
// made with, unless a replay has put its own panel in between for a while (one
// that answers dialogs itself and writes nothing a second time).
#pragma once

#include "core/FrontPanel.h"

namespace hexmoor {

class TFrontPanelSwitch final : public TFrontPanel {
public:
    explicit TFrontPanelSwitch(TFrontPanel& panel) : panel_(panel), current_(&panel) {}

    // The panel the machine was made with, whoever stands in for it now.
    TFrontPanel& Own() const { return panel_; }
    // `panel` takes the calls until Divert(nullptr) gives them back.
    void Divert(TFrontPanel* panel) { current_ = panel ? panel : &panel_; }
    bool Diverted() const { return current_ != &panel_; }

    void PanelChanged(TPanelItem item) override { current_->PanelChanged(item); }
    void TerminalWritten(uint8_t byte) override { current_->TerminalWritten(byte); }
    void TerminalEscaped(uint8_t command, uint8_t column, uint8_t row) override {
        current_->TerminalEscaped(command, column, row);
    }
    TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) override {
        return current_->ShowMessage(kind, buttons, text);
    }
    std::optional<std::string> AskFileName(const TFileQuestion& question) override {
        return current_->AskFileName(question);
    }
    std::optional<std::string> AskBreakPointAddress(const std::string& current) override {
        return current_->AskBreakPointAddress(current);
    }
    void PumpEvents() override { current_->PumpEvents(); }
    TMessageResult WaitForIoPause() override { return current_->WaitForIoPause(); }
    void WaitForEvents() override { current_->WaitForEvents(); }
    void StatusFoundNoInput() override { current_->StatusFoundNoInput(); }
    void WaitUntil(std::chrono::steady_clock::time_point time) override { current_->WaitUntil(time); }
    void Beep() override { current_->Beep(); }
    void FocusTerminal() override { current_->FocusTerminal(); }
    void HardCopy(const std::vector<std::string>& rows) override { current_->HardCopy(rows); }
    std::string PrinterWrite(uint8_t byte) override { return current_->PrinterWrite(byte); }
    void PrinterClose() override { current_->PrinterClose(); }

private:
    TFrontPanel& panel_;
    TFrontPanel* current_;
};

}  // namespace hexmoor
