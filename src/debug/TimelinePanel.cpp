#include "debug/TimelinePanel.h"

#include <utility>

namespace hexmoor {

namespace {

// Sets `within` for the length of a wait.
class TWaitingIn {
public:
    TWaitingIn(TWithin& within, TWithin now) : within_(within), before_(std::exchange(within, now)) {}
    ~TWaitingIn() { within_ = before_; }
    TWaitingIn(const TWaitingIn&) = delete;
    TWaitingIn& operator=(const TWaitingIn&) = delete;

private:
    TWithin& within_;
    TWithin before_;
};

}  // namespace

// A replay was answered once already: it takes the answer that keeps everything
// as it is.
TMessageResult TTimelinePanel::ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) {
    if (Mode == TMode::Live) return panel_.ShowMessage(kind, buttons, text);
    return buttons == TMessageButtons::YesNo ? TMessageResult::Yes : TMessageResult::Ok;
}

TMessageResult TTimelinePanel::WaitForIoPause() {
    if (Mode != TMode::Live && (waits_.Wait(TWithin::IoPause) || Mode == TMode::Quiet)) return TMessageResult::Ok;
    const TWaitingIn waiting(within_, TWithin::IoPause);
    return panel_.WaitForIoPause();
}

void TTimelinePanel::WaitForEvents() {
    const TWithin within = waitingForInput_ ? TWithin::Read : TWithin::Between;
    if (Mode != TMode::Live && (waits_.Wait(within) || Mode == TMode::Quiet)) return;
    const TWaitingIn waiting(within_, within);
    panel_.WaitForEvents();
}

void TTimelinePanel::StatusFoundNoInput() {
    if (Mode != TMode::Live && (waits_.Wait(TWithin::StatusPoll) || Mode == TMode::Quiet)) return;
    const TWaitingIn waiting(within_, TWithin::StatusPoll);
    panel_.StatusFoundNoInput();
}

}  // namespace hexmoor
