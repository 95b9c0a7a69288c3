// A scripted front panel for tests: records every message and change, answers as told.
#pragma once

#include <deque>
#include <functional>
#include <optional>
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
    void PanelChanged(TPanelItem item) override { Changes.push_back(item); }

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

    void PumpEvents() override {
        ++Pumps;
        if (OnPump) OnPump();
    }

    TMessageResult WaitForIoPause() override {
        ++IoPauses;
        if (OnIoPause) OnIoPause();
        if (IoAnswers.empty()) return TMessageResult::Ok;
        TMessageResult answer = IoAnswers.front();
        IoAnswers.pop_front();
        return answer;
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const TShownMessage& message : Messages) texts.push_back(message.Text);
        return texts;
    }

    std::vector<TPanelItem> Changes;
    std::vector<TShownMessage> Messages;
    std::deque<TMessageResult> Answers;  // the next dialogs' buttons; OK when empty
    std::function<void(const TShownMessage&)> OnMessage;
    std::vector<TFileQuestion> FileQuestions;
    std::optional<std::string> FileName;  // what the file dialog answers
    std::string BreakPointShown;
    std::optional<std::string> BreakPointAnswer;
    int Pumps = 0;
    std::function<void()> OnPump;  // a user acting between passes
    int IoPauses = 0;
    std::function<void()> OnIoPause;  // a user acting during the I/O pause
    std::deque<TMessageResult> IoAnswers;  // OK or Cancel of the next pauses; OK when empty
};

}  // namespace hexmoor::testing
