// TTimeline: the machine's recent past, kept so a debugger can go back in time.
// It records every outside input with the point of time it arrived at, and
// takes a snapshot of the whole machine every so often. Going back restores the
// last snapshot at or before the point wanted and replays the recorded inputs
// up to it, quietly: the machine is deterministic given its inputs. Running
// forward from a point in the past replays the recorded inputs as they come,
// until the end of the recording, and then goes on live; a new input in the
// past cuts the recorded future off.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/InputHooks.h"
#include "debug/Breakpoints.h"
#include "debug/TimelinePanel.h"
#include "state/MachineState.h"

namespace hexmoor {

class TMachine;

struct TRecordedInput {
    TTimePoint At;
    TInput Input;
    TWithin Within = TWithin::Between;
};

// Where to go back to: an exact point, or the first point with a number of
// instructions executed (and, when given, of interrupts entered): the moment
// the last step made it.
struct TTimeTarget {
    TTimePoint At;
    bool Earliest = false;
    bool AnyInterrupts = false;  // with Earliest: the interrupt count is not asked for
    // At the point, as the debugger attached to the machine stopped a run there (a stop
    // before an instruction leaves the timers a pass further on than a run through it).
    bool AsStopped = false;
};

class TTimeline final : public TInputHooks, private TRecordedWaits {
public:
    static constexpr std::size_t kDefaultByteBound = std::size_t(256) << 20;

    // Attaches itself to the machine and takes the first snapshot now.
    explicit TTimeline(TMachine& machine, std::size_t byteBound = kDefaultByteBound);
    ~TTimeline() override;
    TTimeline(const TTimeline&) = delete;
    TTimeline& operator=(const TTimeline&) = delete;

    // --- Recording
    // ---------------------------------------------------------------------------
    // The memory the snapshots may take; the oldest go first.
    void SetByteBound(std::size_t bytes);
    std::size_t ByteBound() const { return byteBound_; }
    std::size_t BytesHeld() const { return bytesHeld_; }
    std::size_t Snapshots() const { return snapshots_.size(); }
    // Instructions between two snapshots. Fixed when set; by default chosen as
    // the run goes from what a snapshot costs and how fast the machine runs (see
    // Timeline.cpp).
    void SetSpacing(std::optional<uint64_t> instructions);
    uint64_t Spacing() const { return spacing_; }
    // The machine was changed by something no input records (a program loaded, a
    // state restored, a register edited): the past is forgotten, the recording
    // starts here.
    void Restart();
    const std::vector<TRecordedInput>& Inputs() const { return inputs_; }

    // --- Where the machine is
    // ------------------------------------------------------------------ The
    // oldest point one can go back to (the oldest snapshot's), and the newest
    // recorded.
    TTimePoint Oldest() const { return snapshots_.front().At; }
    TTimePoint End() const { return end_; }
    // The machine stands before the end of the recording: a run forward replays
    // inputs.
    bool InPast() const;

    // --- Going back
    // ------------------------------------------------------------------------------
    // Restores the last snapshot before `target` and replays to it. Empty when
    // there, else why not (the machine is then where it was).
    std::string GoTo(const TTimeTarget& target);
    // The points before `now` at which the debugger attached to the machine stops
    // a run, oldest first, each as `describe` tells it as it stops: replays from
    // the newest snapshot back until a stretch between two has one. The machine
    // is left where it was.
    struct TStopPoint {
        TTimePoint At;
        TDebugStop Stop;
    };
    std::vector<TStopPoint> StopsBefore(const TTimePoint& now, const std::function<TDebugStop()>& describe);

    // Told when the recorded future is cut off, or a replay cannot go on; the
    // text says why.
    std::function<void(const std::string&)> OnMessage;

    // --- The machine's hooks
    // ------------------------------------------------------------------
    void Input(TMachine& machine, const TInput& input) override;
    void Due(TMachine& machine) override;

private:
    struct TSnapshot {
        TTimePoint At;
        std::size_t NextInput = 0;  // the first input recorded after it
        std::unique_ptr<TMachineState> State;
        std::size_t Bytes = 0;
    };
    class TQuietReplay;

    bool Wait(TWithin within) override;
    void Apply(const TRecordedInput& input);
    void ApplyInputsHere(bool withinToo);
    void SetDue();
    void GoLive();
    void Capture();
    void CutFuture(const std::string& why);
    const TSnapshot* SnapshotBefore(const TTimeTarget& target) const;
    // From the snapshot, replays to the target: empty when there. With `stops`, a
    // run the debugger stops is told to it and goes on.
    using TStopNoted = std::function<void(const TTimePoint&)>;
    std::string ReplayFrom(const TSnapshot& snapshot, const TTimeTarget& target, const TStopNoted* stops = nullptr);

    TMachine& machine_;
    TTimelinePanel panel_;
    std::vector<TRecordedInput> inputs_;
    std::deque<TSnapshot> snapshots_;
    std::size_t byteBound_;
    std::size_t bytesHeld_ = 0;
    std::optional<uint64_t> fixedSpacing_;
    uint64_t spacing_ = 100'000;
    uint64_t nextCapture_ = 0;
    std::chrono::steady_clock::time_point lastCapture_;
    uint64_t lastCaptureCount_ = 0;
    TTimePoint end_;
    std::size_t next_ = 0;   // the first recorded input not yet acted on
    bool applying_ = false;  // a recorded input is being acted on: not recorded again
    bool starved_ = false;   // a replay came to a read the recording has no key for
};

// Whether `a` comes before `b` (a reset in between, which sets the cycle count
// back, is not told apart from earlier time at the same step).
bool Earlier(const TTimePoint& a, const TTimePoint& b);

}  // namespace hexmoor
