#include "debug/Timeline.h"

#include <algorithm>
#include <tuple>

#include "core/Machine.h"

namespace hexmoor {

namespace {

// The spacing of snapshots, when it is chosen as the machine runs: a snapshot
// costs at most a twentieth of the run between two, and a replay from one to
// the next takes no longer than kReplaySeconds of running (going back one step
// replays at most that far, twice).
constexpr double kCaptureShare = 0.05;
constexpr double kReplaySeconds = 0.010;
constexpr uint64_t kMinSpacing = 10'000, kMaxSpacing = 200'000'000;
// A replay that stands still this many times in a row has lost its way.
constexpr unsigned kIdleLimit = 1000;
constexpr uint32_t kReplayPasses = 1 << 16;

std::tuple<uint64_t, uint64_t, int64_t> Order(const TTimePoint& p) { return {p.Instructions, p.Interrupts, p.Cycles}; }

std::string At(const TTimePoint& p) { return "instruction " + std::to_string(p.Instructions); }

// The run limits that bring the machine from `now` to `at`: first to its
// instruction count, then through the passes that execute nothing (interrupt
// entries, WAI) to its cycle count.
TRunLimits LimitsTo(const TTimePoint& now, const TTimePoint& at) {
    if (now.Instructions < at.Instructions) return {at.Instructions, INT64_MAX};
    return {at.Instructions + 1, at.Cycles};
}

bool Reached(const TTimePoint& now, const TTimeTarget& target) {
    if (!target.Earliest) return now == target.At;
    return now.Instructions == target.At.Instructions &&
           (target.AnyInterrupts || now.Interrupts == target.At.Interrupts);
}

bool Passed(const TTimePoint& now, const TTimeTarget& target) {
    if (!target.Earliest) return Earlier(target.At, now);
    if (now.Instructions != target.At.Instructions) return now.Instructions > target.At.Instructions;
    return !target.AnyInterrupts && now.Interrupts > target.At.Interrupts;
}

std::size_t SnapshotBytes(const TMachineState& state) {
    return sizeof state + state.TerminalLink.InputBuffer.capacity() + state.TraceText.capacity();
}

}  // namespace

bool Earlier(const TTimePoint& a, const TTimePoint& b) { return Order(a) < Order(b); }

// For the length of a replay going back: the panel shows nothing and answers
// for itself, the debugger neither stops nor follows (unless its stops are
// wanted), the Breakpoint menu's address does not stop, and the run goes on
// whatever the run controls say.
class TTimeline::TQuietReplay {
public:
    TQuietReplay(TTimeline& timeline, bool debuggerStops)
        : t_(timeline),
          m_(timeline.machine_),
          mode_(timeline.panel_.Mode),
          debugger_(m_.Debugger),
          breakPoint_(m_.BreakPointAddress),
          follow_(m_.FollowPasses),
          running_(m_.Panel.RunningLed.Lit),
          stepping_(m_.Panel.StepLed.Lit) {
        t_.panel_.Mode = TTimelinePanel::TMode::Quiet;
        if (!debuggerStops) {
            m_.Debugger = nullptr;
            m_.SetBreakPointAddress(kNoBreakPoint);
            m_.FollowPasses = false;
        }
        m_.Panel.StepLed.Lit = false;
    }
    ~TQuietReplay() {
        m_.Debugger = debugger_;
        m_.SetBreakPointAddress(breakPoint_);
        m_.FollowPasses = follow_;
        m_.Panel.RunningLed.Lit = running_;
        m_.Panel.StepLed.Lit = stepping_;
        t_.panel_.Mode = mode_;
        t_.starved_ = false;
    }
    TQuietReplay(const TQuietReplay&) = delete;
    TQuietReplay& operator=(const TQuietReplay&) = delete;

private:
    TTimeline& t_;
    TMachine& m_;
    TTimelinePanel::TMode mode_;
    TDebugHooks* debugger_;
    int32_t breakPoint_;
    bool follow_, running_, stepping_;
};

TTimeline::TTimeline(TMachine& machine, std::size_t byteBound)
    : machine_(machine), panel_(machine.FrontPanel.Own(), *this, machine.WaitingForInput), byteBound_(byteBound) {
    machine_.Recorder = this;
    machine_.FrontPanel.Divert(&panel_);
    Restart();
}

TTimeline::~TTimeline() {
    machine_.Recorder = nullptr;
    machine_.FrontPanel.Divert(nullptr);
}

void TTimeline::SetByteBound(std::size_t bytes) {
    byteBound_ = bytes;
    while (bytesHeld_ > byteBound_ && snapshots_.size() > 1) {
        bytesHeld_ -= snapshots_.front().Bytes;
        snapshots_.pop_front();
    }
}

void TTimeline::SetSpacing(std::optional<uint64_t> instructions) {
    fixedSpacing_ = instructions;
    if (instructions) spacing_ = std::max<uint64_t>(*instructions, 1);
    if (!snapshots_.empty()) nextCapture_ = snapshots_.back().At.Instructions + spacing_;
    SetDue();
}

void TTimeline::Restart() {
    inputs_.clear();
    snapshots_.clear();
    bytesHeld_ = 0;
    next_ = 0;
    panel_.Mode = TTimelinePanel::TMode::Live;
    end_ = machine_.TimePoint();
    lastCapture_ = std::chrono::steady_clock::now();
    lastCaptureCount_ = end_.Instructions;
    Capture();
    SetDue();
}

bool TTimeline::InPast() const { return panel_.Mode != TTimelinePanel::TMode::Live; }

// --- Recording
// ---------------------------------------------------------------------------------

void TTimeline::Input(TMachine& machine, const TInput& input) {
    if (applying_) return;
    const TTimePoint now = machine.TimePoint();
    if (InPast()) CutFuture("A new input at " + At(now) + " in the past: the recording after it is dropped");
    inputs_.push_back({now, input, panel_.Within()});
    next_ = inputs_.size();
    end_ = now;
}

void TTimeline::Due(TMachine& machine) {
    const TTimePoint now = machine.TimePoint();
    while (next_ < inputs_.size() && inputs_[next_].Within == TWithin::Between && inputs_[next_].At == now)
        Apply(inputs_[next_++]);
    if (next_ < inputs_.size() && Earlier(inputs_[next_].At, now)) {
        const std::string why = "The machine did not come to the input recorded at " + At(inputs_[next_].At);
        if (panel_.Mode == TTimelinePanel::TMode::Quiet) {
            starved_ = true;
            machine_.Panel.RunningLed.Lit = false;
            return;
        }
        CutFuture(why + ": the recording ends here");
    }
    if (panel_.Mode == TTimelinePanel::TMode::Forward && next_ == inputs_.size() && !Earlier(now, end_)) GoLive();
    if (!InPast()) {
        end_ = now;
        if (now.Instructions >= nextCapture_) Capture();
    }
    SetDue();
}

// The next point the machine must stop at (a recorded input between passes) and
// the count at which to ask again.
void TTimeline::SetDue() {
    Limits = {};
    if (!InPast()) {
        DueAt = nextCapture_;
        return;
    }
    DueAt = end_.Instructions;
    if (next_ >= inputs_.size()) return;
    const TRecordedInput& next = inputs_[next_];
    DueAt = next.At.Instructions;
    if (next.Within == TWithin::Between) Limits = LimitsTo(machine_.TimePoint(), next.At);
}

void TTimeline::GoLive() {
    panel_.Mode = TTimelinePanel::TMode::Live;
    nextCapture_ = snapshots_.empty() ? 0 : snapshots_.back().At.Instructions + spacing_;
}

void TTimeline::Capture() {
    if (!BetweenInstructions(machine_)) return;  // asked again after this span or pass
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::unique_ptr<TMachineState> state;
    if (!snapshots_.empty() && bytesHeld_ + snapshots_.back().Bytes > byteBound_ && snapshots_.size() > 1) {
        state = std::move(snapshots_.front().State);  // its storage is reused
        bytesHeld_ -= snapshots_.front().Bytes;
        snapshots_.pop_front();
    }
    if (!state) state = std::make_unique<TMachineState>();
    CaptureState(machine_, *state);
    const TTimePoint now = machine_.TimePoint();
    const std::size_t bytes = SnapshotBytes(*state);
    snapshots_.push_back({now, inputs_.size(), std::move(state), bytes});
    bytesHeld_ += bytes;
    SetByteBound(byteBound_);
    // Inputs older than every snapshot are never replayed again.
    if (const std::size_t old = snapshots_.front().NextInput; old > 4096 && old * 2 > inputs_.size()) {
        inputs_.erase(inputs_.begin(), inputs_.begin() + std::ptrdiff_t(old));
        next_ -= old;
        for (TSnapshot& snapshot : snapshots_) snapshot.NextInput -= old;
    }

    const auto end = Clock::now();
    const double captureSeconds = std::chrono::duration<double>(end - start).count();
    const double runSeconds = std::chrono::duration<double>(start - lastCapture_).count();
    const uint64_t ran = now.Instructions - std::min(now.Instructions, lastCaptureCount_);
    if (!fixedSpacing_ && runSeconds > 0 && ran > 0) {
        const double perSecond = double(ran) / runSeconds;
        const double seconds = std::max(captureSeconds / kCaptureShare, kReplaySeconds);
        spacing_ = std::clamp(uint64_t(perSecond * seconds), kMinSpacing, kMaxSpacing);
    }
    lastCapture_ = end;
    lastCaptureCount_ = now.Instructions;
    nextCapture_ = now.Instructions + spacing_;
}

void TTimeline::CutFuture(const std::string& why) {
    const TTimePoint now = machine_.TimePoint();
    inputs_.resize(next_);
    while (snapshots_.size() > 1 && (Earlier(now, snapshots_.back().At) || snapshots_.back().NextInput > next_)) {
        bytesHeld_ -= snapshots_.back().Bytes;
        snapshots_.pop_back();
    }
    end_ = now;
    GoLive();
    if (OnMessage) OnMessage(why);
}

// --- Replaying
// ---------------------------------------------------------------------------------

void TTimeline::Apply(const TRecordedInput& recorded) {
    applying_ = true;
    const TInput& input = recorded.Input;
    switch (input.Kind) {
        case TInput::Irq: machine_.IrqButtonClick(); break;
        case TInput::Xirq: machine_.XIrqButtonClick(); break;
        case TInput::Reset: machine_.ResetButtonClick(); break;
        case TInput::AnalogInput: machine_.AnalogInputChange(input.First, input.Second); break;
        case TInput::InputLed: machine_.InputLedClick(TPortGroup(input.First), input.Second); break;
        case TInput::Key: machine_.FormKeyPress(uint8_t(input.First)); break;
        case TInput::ClearInput: machine_.ClearInputBufferClick(); break;
        case TInput::ModeLed: machine_.ModeLedClick(); break;
    }
    applying_ = false;
}

// An instruction under way waits: what was recorded at this point arrived
// during the wait.
bool TTimeline::Wait(TWithin within) {
    const TTimePoint now = machine_.TimePoint();
    bool handed = false;
    while (next_ < inputs_.size() && inputs_[next_].At == now) {
        Apply(inputs_[next_++]);
        handed = true;
    }
    if (handed) {
        SetDue();
        return true;
    }
    if (panel_.Mode == TTimelinePanel::TMode::Quiet) {
        if (within == TWithin::Read) {  // the recording left this read waiting
            starved_ = true;
            machine_.ReleaseInputWait();
            machine_.Panel.RunningLed.Lit = false;
        }
        return true;
    }
    // Going forward: a wait the recording has nothing for is the person's to end.
    if (within == TWithin::Read || within == TWithin::Between) return false;
    if (next_ < inputs_.size() || Earlier(now, end_)) return true;
    GoLive();
    return false;
}

const TTimeline::TSnapshot* TTimeline::SnapshotBefore(const TTimeTarget& target) const {
    for (auto s = snapshots_.rbegin(); s != snapshots_.rend(); ++s) {
        const TTimePoint& at = s->At;
        const bool before = !target.Earliest       ? !Earlier(target.At, at)
                            : target.AnyInterrupts ? at.Instructions < target.At.Instructions
                                                   : std::pair{at.Instructions, at.Interrupts} <
                                                         std::pair{target.At.Instructions, target.At.Interrupts};
        if (before) return &*s;
    }
    return nullptr;
}

std::string TTimeline::ReplayFrom(const TSnapshot& snapshot, const TTimeTarget& target, const TStopNoted* stops) {
    RestoreState(machine_, *snapshot.State);
    next_ = snapshot.NextInput;
    starved_ = false;
    if (machine_.Debugger) machine_.Debugger->RunStarts(machine_);
    SetDue();
    for (unsigned idle = 0, stopped = 0;;) {
        Due(machine_);
        const TTimePoint now = machine_.TimePoint();
        if (starved_) return "the recording has no input for the wait at " + At(now);
        if (Reached(now, target) && (!target.AsStopped || stopped)) return "";
        if (Passed(now, target)) return "the replay went past " + At(target.At) + " (it came to " + At(now) + ")";
        // The last passes one at a time: to the interrupt entries wanted, or to the stop.
        const bool lastSteps = (target.Earliest && now.Instructions == target.At.Instructions) ||
                               (target.AsStopped && Reached(now, target));
        const TRunLimits limits =
            lastSteps ? TRunLimits{target.At.Instructions + 1, INT64_MAX} : LimitsTo(now, target.At);
        machine_.Panel.RunningLed.Lit = true;
        machine_.RunSlice(limits, lastSteps ? 1 : kReplayPasses);
        stopped = !machine_.Panel.RunningLed.Lit && !starved_;
        if (stopped && !target.AsStopped) {
            if (!stops) return "the replay stopped at " + At(machine_.TimePoint());
            (*stops)(machine_.TimePoint());
        }
        idle = machine_.TimePoint() == now ? idle + 1 : 0;
        if (idle > kIdleLimit) return "the replay does not move on from " + At(now);
    }
}

std::string TTimeline::GoTo(const TTimeTarget& target) {
    if (!BetweenInstructions(machine_)) return "The machine is in the middle of an instruction";
    // The file's lines are read as the program asks for them, and not recorded.
    if (machine_.InputFileOpen) return "Cannot go back while an input file feeds the terminal";
    const TTimePoint here = machine_.TimePoint();
    if (!InPast()) end_ = here;
    const TSnapshot* snapshot = SnapshotBefore(target);
    if (!snapshot || Earlier(end_, target.At))
        return snapshot ? "That is after the end of the recording (" + At(end_) + ")"
                        : "That is before the oldest point held (" + At(Oldest()) + ")";
    const auto before = std::make_unique<TMachineState>(CaptureState(machine_));
    const std::size_t nextBefore = next_;
    std::string error;
    {
        const TQuietReplay quiet(*this, target.AsStopped);
        error = ReplayFrom(*snapshot, target);
        if (!error.empty()) {
            RestoreState(machine_, *before);
            next_ = nextBefore;
        }
    }
    if (error.empty())
        panel_.Mode = Earlier(machine_.TimePoint(), end_) || next_ < inputs_.size() ? TTimelinePanel::TMode::Forward
                                                                                    : TTimelinePanel::TMode::Live;
    SetDue();
    for (int item = 0; item < int(TPanelItem::Count); ++item) machine_.FrontPanel.PanelChanged(TPanelItem(item));
    if (!error.empty()) return "Cannot go back: " + error;
    return "";
}

std::vector<TTimeline::TStopPoint> TTimeline::StopsBefore(const TTimePoint& now,
                                                          const std::function<TDebugStop()>& describe) {
    std::vector<TStopPoint> found;
    if (!BetweenInstructions(machine_)) return found;
    if (!InPast()) end_ = now;
    const auto before = std::make_unique<TMachineState>(CaptureState(machine_));
    const std::size_t nextBefore = next_;
    {
        const TQuietReplay quiet(*this, true);
        for (std::size_t k = snapshots_.size(); k-- > 0 && found.empty();) {
            if (!Earlier(snapshots_[k].At, now)) continue;
            const TTimePoint end =
                k + 1 < snapshots_.size() && Earlier(snapshots_[k + 1].At, now) ? snapshots_[k + 1].At : now;
            const TStopNoted noted = [&](const TTimePoint& stop) {
                TDebugStop told = describe();
                if (Earlier(stop, now)) found.push_back({stop, std::move(told)});
            };
            ReplayFrom(snapshots_[k], {end}, &noted);
        }
        RestoreState(machine_, *before);
        next_ = nextBefore;
    }
    SetDue();
    return found;
}

}  // namespace hexmoor
