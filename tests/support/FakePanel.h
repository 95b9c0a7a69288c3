// A scripted front panel for tests: records every message and change, answers as told.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/FrontPanel.h"

namespace hexmoor::testing {

struct TShownMessage {
    TMessageKind Kind;
    TMessageButtons Buttons;
    std::string Text;
};

class TFakePanel : public TFrontPanel {
public:
    // A traced run repaints every pass: a run that no longer pumps still fails in time.
    void PanelChanged(TPanelItem item) override {
        Changes.push_back(item);
        CheckTime();
    }

    void TerminalWritten(uint8_t byte) override { Written += char(byte); }

    TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons,
                               std::string_view text) override {
        Messages.push_back({kind, buttons, std::string(text)});
        if (OnMessage) OnMessage(Messages.back());
        if (Answers.empty()) return TMessageResult::Ok;
        TMessageResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::optional<std::string> AskFileName(const TFileQuestion& question) override {
        FileQuestions.push_back(question);
        return FileName;
    }

    std::optional<std::string> AskBreakPointAddress(const std::string& current) override {
        BreakPointShown = current;
        return BreakPointAnswer;
    }

    // A run that only the simulated program can end would hang the test when the core is
    // wrong: past the pump or time limit it fails instead.
    void PumpEvents() override {
        if (++Pumps > PumpLimit) throw std::runtime_error("the run did not end within the pump limit");
        CheckTime();
        if (OnPump) OnPump();
    }

    // Fails a test that has run for longer than any correct one does.
    void CheckTime() const {
        if (std::chrono::steady_clock::now() > deadline_)
            throw std::runtime_error("the test did not end within its time limit");
    }

    TMessageResult WaitForIoPause() override {
        ++IoPauses;
        if (OnIoPause) OnIoPause();
        if (IoAnswers.empty()) return TMessageResult::Ok;
        TMessageResult answer = IoAnswers.front();
        IoAnswers.pop_front();
        return answer;
    }

    // A program waiting for input with nobody to type would hang the test: fail instead.
    void WaitForEvents() override {
        ++Waits;
        if (!OnWaitForEvents) throw std::runtime_error("the program waits for input nobody gives");
        OnWaitForEvents();
    }

    // A run paced to the chip's clock asks to wait: noted, never slept.
    void WaitUntil(std::chrono::steady_clock::time_point time) override {
        WaitsUntil.push_back(time);
        CheckTime();
    }

    void Beep() override { ++Beeps; }
    void FocusTerminal() override { ++Focuses; }
    void HardCopy(const std::vector<std::string>& rows) override { HardCopies.push_back(rows); }
    std::string PrinterWrite(uint8_t byte) override {
        if (!PrinterError.empty()) return PrinterError;
        Printed += char(byte);
        return "";
    }
    void PrinterClose() override { ++PrinterCloses; }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const TShownMessage& message : Messages) texts.push_back(message.Text);
        return texts;
    }

    std::vector<TPanelItem> Changes;
    std::string Written;  // every byte the program sent to the terminal screen
    std::vector<TShownMessage> Messages;
    std::deque<TMessageResult> Answers;  // the next dialogs' buttons; OK when empty
    std::function<void(const TShownMessage&)> OnMessage;
    std::vector<TFileQuestion> FileQuestions;
    std::optional<std::string> FileName;  // what the file dialog answers
    std::string BreakPointShown;
    std::optional<std::string> BreakPointAnswer;
    int Pumps = 0;
    int PumpLimit = 2'000'000;
    std::function<void()> OnPump;  // a user acting between passes
    int IoPauses = 0;
    std::function<void()> OnIoPause;  // a user acting during the I/O pause
    std::deque<TMessageResult> IoAnswers;  // OK or Cancel of the next pauses; OK when empty
    int Waits = 0;
    std::function<void()> OnWaitForEvents;  // a user typing while the program waits
    std::vector<std::chrono::steady_clock::time_point> WaitsUntil;
    int Beeps = 0;
    int Focuses = 0;
    std::vector<std::vector<std::string>> HardCopies;
    std::string Printed;
    std::string PrinterError;  // what the printer answers when set
    int PrinterCloses = 0;

private:
    std::chrono::steady_clock::time_point deadline_ =
        std::chrono::steady_clock::now() + std::chrono::seconds(120);
};

}  // namespace hexmoor::testing
