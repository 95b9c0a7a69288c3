// A scripted front panel for tests: records every message and change, answers as told.
#pragma once

#include <deque>
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
        if (Answers.empty()) return TMessageResult::Ok;
        TMessageResult answer = Answers.front();
        Answers.pop_front();
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
};

}  // namespace hexmoor::testing
