// The machine record: the whole simulated 68HC11F1 board, its front-panel state and the
// operations on them.
//
// The operations take no arguments where the machine's own microcode style allows; they
// talk through the scratch fields (LoadByte reads EffectiveAddress and leaves DataByte).
// Each subsystem's operations live in a .cpp file of the subsystem's folder.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "control/ControlState.h"
#include "control/RunState.h"
#include "control/TimerState.h"
#include "core/CallStack.h"
#include "core/ConditionCodes.h"
#include "core/CpuRegisters.h"
#include "core/DebugHooks.h"
#include "core/FrontPanel.h"
#include "core/InputHooks.h"
#include "core/LogFile.h"
#include "core/MemoryState.h"
#include "core/ProgramAssembler.h"
#include "core/PanelState.h"
#include "core/PanelSwitch.h"
#include "io/Lumocrt/TerminalScreen.h"
#include "io/PortState.h"
#include "io/SciState.h"
#include "io/TerminalState.h"
#include "io/WaitLoop.h"
#include "registers/AdState.h"

namespace hexmoor {

class TAddressNames;

// The cycle count as the panel shows it: right-aligned in 15 characters.
std::string CycleText(int64_t cycles);

// How a program file was read: whole, whole but without a single data byte (a text file,
// an empty one), not at all (nothing changed), or only in part before a read error.
enum class TLoadResult { Loaded, NoData, NotRead, PartlyRead };

enum TResetKind { PowerOnReset = 0, ExternalReset = 1, ClockMonitorReset = 2, CopReset = 3 };

// Thrown out of a read of the terminal data port whose wait a control ended (Run/Stop, Step,
// Reset, closing the window): the instruction is abandoned before it stored anything, so
// it runs again, and waits again, when the program goes on.
struct TReadAbandoned {};

class TMachine : public TCpuRegisters,
                 public TConditionCodes,
                 public TMemoryImages,
                 public TAddressWindows,
                 public TScratch,
                 public TInterruptState,
                 public TRunControlState,
                 public TTimerState,
                 public TWriteOnceLatches,
                 public TAdState,
                 public TPortState,
                 public TTerminalState,
                 public TSciState {
public:
    explicit TMachine(TFrontPanel& frontPanel);
    TMachine(const TMachine&) = delete;
    TMachine& operator=(const TMachine&) = delete;

    TFrontPanelSwitch FrontPanel;

    // --- A recorder of outside inputs ----------------------------------------------------
    // Attached by a debugger that goes back in time; none by default.
    TInputHooks* Recorder = nullptr;
    void RecordInput(TInput::TKind kind, int first = 0, int second = 0) {
        if (Recorder) [[unlikely]]
            Recorder->Input(*this, {kind, int16_t(first), int16_t(second)});
    }
    void AskRecorderIfDue() {
        if (Recorder && InstructionCount >= Recorder->DueAt) [[unlikely]]
            Recorder->Due(*this);
    }
    TTimePoint TimePoint() const { return {InstructionCount, Transfers.InterruptCount, CycleCount}; }

    // --- A debugger's hooks ----------------------------------------------------------------
    // Attached by a debugger; none by default.
    TDebugHooks* Debugger = nullptr;
    // Where a run stops before executing: the Breakpoint menu's address, and addresses a
    // debugger asks about. One byte an address, so the run tests one byte an instruction.
    TStopMarks StopMarks{};
    TTransferLog Transfers;
    TCallStack CallStack;
    // Runs go pass by pass and ask the debugger after each (Step Over, Step Out, a change
    // watchpoint on a register).
    bool FollowPasses = false;
    // While FollowPasses is set and FollowedMask has bits, a run still goes in spans, each
    // ending after an instruction that moved a masked bit from FollowedSeen (a change
    // watchpoint on SP asks only when SP moved); with no bits it goes pass by pass.
    TRegisterWords FollowedMask, FollowedSeen;
    TRegisterWords RegisterWords() const {
        TRegisterWords words;
        std::memcpy(&words.Registers, &RegisterD, sizeof words.Registers);
        std::memcpy(&words.Flags, &FlagS, sizeof words.Flags);
        return words;
    }
    // While FollowPasses is set, asks the debugger after a pass (or a span); it may end the run.
    void AskDebuggerAfterPass() {
        if (FollowPasses && Debugger && Debugger->StopAfterPass(*this))
            Change(Panel.RunningLed.Lit, false, TPanelItem::RunControls);
    }
    bool MarkedStop(uint16_t pc) const { return StopMarks[pc] != 0; }
    void SetBreakPointAddress(int32_t address);
    void WatchPage(uint8_t page, bool watched) {
        PageFlags[page] = uint8_t(watched ? PageFlags[page] | kWatchedPage : PageFlags[page] & ~kWatchedPage);
    }
    // A debugger's stop in the middle of an instruction (a watched access): the run ends
    // after it, with its time settled.
    void StopAfterInstruction();
    // A debugger's look after the instruction under way (a byte it reads changed): the span
    // ends after it, with its time settled, and the passes are followed from there.
    void FollowFromInstruction() {
        SettleSpan();
        FollowPasses = true;
    }
    TPanelState Panel;
    TTerminalScreen Screen;  // the terminal, 80 x 24, a carriage return alone

    uint8_t RunState = RunNormal;
    TWaitLoop WaitLoop;  // whether the program polls the status port waiting for a key
    // 0 special bootstrap, 1 special test, 2 single-chip, 3 expanded: MODB:MODA as the mode
    // LEDs give them at reset, then what HPRIO's SMOD and MDA make of it.
    uint8_t OperatingMode = 3;

    // --- Memory primitives: every CPU access to memory goes through these six ---------
    void LoadByte();
    void LoadWord();
    void StoreByte();
    void StoreWord();
    void LoadByteforStore();
    void StackRegisters();

    // The register block's read and write handlers, given RegisterOffset.
    void ReadInternalRegByte();
    void WriteInternalRegByte();
    void LoadRegisterResetImage();  // every register's reset byte, with no exceptions

    // --- On-chip RAM and register windows ---------------------------------------------
    void SaveInternalRam();     // on-chip RAM out of MemoryImage, external memory back in
    void RestoreInternalRam();  // the reverse, at the current RAM window
    void RelocateWindows(int32_t registerBegin, int32_t ramBegin);  // what INIT does

    // --- Operating modes ----------------------------------------------------------------
    // A click on either mode LED switches the pins between expanded and special bootstrap
    // mode; the chip reads them at the next reset.
    void ModeLedClick();
    bool BootstrapPins() const { return !Panel.MODALed.Lit; }
    // HPRIO's RBOOT, SMOD and MDA, after a reset or a write: the mode, the pages where the
    // external memory gives way, the ports the bus takes.
    void ApplyModeBits();
    void MapOffChipPages();  // after the mode bits or the RAM window change
    // What a read of `address` (outside the register window) finds: memory, the boot ROM,
    // or $FF where nothing answers. No side effects.
    uint8_t BusByteAt(uint16_t address) const;
    // An interrupt vector's word; in the special modes the vectors are at $BFC0-$BFFF.
    uint16_t ReadVector(uint16_t vector) const;
    bool SpecialMode() const { return OperatingMode < 2; }

    // --- Execution --------------------------------------------------------------------
    void FastExecuteInstruction();  // the one instruction at RegisterPC
    void InstructionPreProcessing();  // time advances by the last pass's cycles
    void AdvanceTime(int32_t cycles);
    void AdvanceTimeQuietly(int32_t cycles);  // no more than CyclesBeforeNextEvent()
    int32_t CyclesBeforeNextEvent() const;
    void CountPulse();                // one pulse-accumulator count
    // Leaves InterruptVector. Most passes find nothing to arbitrate: that test is inline.
    void CheckForInterrupt() {
        InterruptVector = 0;
        if (XirqLatch || MaskDelay || (!FlagI && (PendingInterrupts & EnabledInterrupts)))
            ArbitrateInterrupts();
    }
    void ArbitrateInterrupts();
    void ResetMoor(TResetKind kind);

    // --- The run loop and its controls ------------------------------------------------
    void RunPass();  // one pass of either loop
    // Untraced: at most `passes` passes, or instructions run in spans, which leave the
    // machine as the passes would. Ends early when the Running LED goes out, at a limit,
    // when the run state changes, and after a STOP (StopExecuted). Returns the passes run.
    // While FollowPasses is set it goes pass by pass, asking the debugger after each.
    uint32_t RunSlice(const TRunLimits& limits, uint32_t passes);
    // The first access to the register window in a span advances time by what it owes.
    void SettleSpan();
    void ExecuteInSpan();  // from RegisterPC on, while the span lasts
    // The same for a run whose debugger follows registers: ends after one that moved them.
    void ExecuteFollowedInSpan();
    bool ReopenSpan();     // after a register access settled it; false when it must end
    bool SpanOpen = false;
    uint32_t SpanLeft = 0;    // instructions the span may still execute
    // SpanLeft when InstructionCount was last brought up to date: a span counts its
    // instructions by SpanLeft alone, and adds them up when it settles (a register access:
    // the panel may look) and when it ends.
    uint32_t SpanCounted = 0;
    void CountSpanInstructions() {
        InstructionCount += SpanCounted - SpanLeft;
        SpanCounted = SpanLeft;
    }
    int64_t SpanBase = 0;     // CycleCount less the time the passes would have advanced
    int64_t SpanCeiling = 0;  // the CycleCount at which the span stops
    int64_t SpanCycleLimit = 0;  // the last CycleCount at which an instruction may start
    void FastMoor();
    void Moor();
    void RunClick();
    void StepLedClick();
    void StatusLedClick();
    void ResetButtonClick();
    void IrqButtonClick();
    void XIrqButtonClick();
    void SetBreakPointMenuClick();
    void TraceMenuClick();  // also gives an enabled Running LED the matching hint
    // Nothing but a click (IRQ, XIRQ, an input pin, Reset, Stop) can move the CPU on from
    // the WAI or STOP it is in: the loops wait for one instead of spinning.
    bool OnlyAClickCanWake() const;
    // The breakpoint dialog's text for BreakPointAddress, and the address for a text
    // (reporting a text that is no hexadecimal number).
    std::string BreakPointText() const;
    void SetBreakPointFromText(const std::string& text);

    // --- A/D converter ----------------------------------------------------------------
    void DoAdSample();
    void AnalogInputChange(int channel, int position);  // a slider moved
    void AdSamplingInfo(std::string_view text);
    void AdSamplingWarning(std::string_view text);

    // --- Loading ----------------------------------------------------------------------
    void LoadClick();
    TLoadResult LoadFile(const std::string& path);  // reports a file that cannot be read
    // Turns a program given as source into its bytes; without one, source loads as
    // S-records would (and is refused as such).
    TProgramAssembler* Assembler = nullptr;
    int LoadLineNumber = 0;  // the line of the file LoadFile is reading, from 1
    // The file bytes of the ELF program LoadFile read last (empty after any other load): the
    // debugger reads its symbols and line table from them when the file cannot be read again,
    // as when it came through a pipe.
    std::vector<uint8_t> LoadedElf;

    // --- Trace: the next instruction as text, on the panel and in the log ----------------
    std::string TraceText;
    // Names for the targets of calls, jumps and branches in TraceText ("JSR $E020 (print)");
    // none: addresses only.
    const TAddressNames* TraceNames = nullptr;
    TLogFile LogFile;
    void DecodeInstruction();
    void ShowEditedRegisters();
    std::string TraceLine() const;  // the log line for TraceText and the registers now
    bool OpenLogFile(const std::string& path);  // reports a failure to the user
    void CloseLogFile();

    // --- Read-outs ----------------------------------------------------------------------
    void DisplayRegisters();  // what ChangeMask says changed, PC and cycles
    void DisplayMemory();     // the last memory write
    void DisplayAllRegisters();
    // Where a run stopped: the next instruction, the last memory write, every register.
    void ShowWhereStopped();

    // --- The serial communications interface (SCI) ------------------------------------
    void SciTiming();   // the frame length from BAUD and SCCR1
    void SciRequest();  // the SCI's interrupt request from SCSR and SCCR2
    // BAUD and SCCR2 as stores by the program would set them, without messages.
    void SetSciControl(uint8_t baud, uint8_t sccr2);
    void ApplySccr2(uint8_t sccr2);  // the enables, the request, the receiver
    void SciTransmit(uint8_t byte);  // a byte written to SCDR
    void ReadScsr();
    void ReadScdr();
    void AdvanceSci(int32_t cycles);
    bool SciBusy() const { return (SciTransmitLeft | SciReceiveLeft) != 0; }
    bool SciReceiverBusy() const;
    // A typed byte would reach SCDR and request an interrupt the CPU takes.
    bool SciWakesOnInput() const;

    // --- Ports and terminal -----------------------------------------------------------
    void ReadPortA();  // compose the pins into PortAPins
    void ReadPortC();
    void ReadPortD();
    void ReadPortG();
    void ReadPortE();  // the input LEDs into PORTE
    void UpdatePortAOutput();
    void UpdatePortBOutput();
    void UpdatePortCOutput();
    void UpdatePortDOutput();
    void UpdatePortFOutput();
    void UpdatePortGOutput();
    void UpdatePortADirection();
    void UpdatePortCDirection();
    void UpdatePortDDirection();
    void UpdatePortGDirection();
    void PaintChipSelectPin(int bit, bool taken);  // PG4-PG7
    // With I/O Operations checked, stops before an access to the pins of `pins` until the
    // user confirms it; Cancel unchecks the option. The pause names the port, or `name`.
    void IoPause(TPortGroup pins, std::string_view name = {});
    void InputBitClick(TPortGroup group, int bit);  // a plain input pin toggles
    void InputCaptureClick(int bit);                // PA0-PA3: captures on their edge
    void PA7InputClick();                           // the pulse accumulator's input
    void InputLedClick(TPortGroup group, int bit);  // any input LED, routed to the above
    void ConsoleStatus();  // DataByte: 1 when typed input is waiting
    void ConsoleInput();   // DataByte: the next input character, waiting for one
    void ConsoleOutput();  // RegisterWriteByte to the terminal
    void TerminalOutput(uint8_t byte);  // to the screen, escape sequences obeyed
    void InputArrived();   // bytes were typed or fed into InputBuffer
    void PrinterOutput();  // RegisterWriteByte to the printer
    void FormKeyPress(uint8_t key);
    void ReleaseInputWait();  // Run/Stop, Reset and Step end a wait for terminal input
    // The program polls the status port in a recognised wait loop and nothing is typed.
    bool WaitsForAKey() const { return InputBuffer.Empty() && WaitLoop.Waiting(CycleCount); }
    void ClrScr();
    void InputFileMenuClick();
    bool OpenInputFile(const std::string& path);  // false when it cannot be read
    void CloseInputFile();
    void CloseMenuClick();  // the printer output is complete
    void ClearInputBufferClick();
    void HardCopyClick();
    void BringtoFrontMenuClick();  // also the terminal's double click
    void ConsoleClick();

    // --- The window's own decisions -------------------------------------------------------
    void FormActivate();     // the first activation performs the power-on reset
    bool FormCloseQuery();   // may the window close? Ends a run or a wait on Yes
    void FormDestroy();      // the log and the printer output are closed
    void LogMenuClick();
    void HintsMenuClick();
    void ConfigureMenuClick();  // either item switches to the other layout
    void ConsoleDblClick();     // brings the terminal to the front, in the small layout
    void LoadingMenuClick() { FlipOption(Panel.LoadingMenu); }
    void InternalRegistersMenuClick() { FlipOption(Panel.InternalRegistersMenu); }
    void ADSamplingMenuClick() { FlipOption(Panel.ADSamplingMenu); }
    void IOOperationsMenuClick() { FlipOption(Panel.IOOperationsMenu); }
    void InterruptsMenuClick() { FlipOption(Panel.InterruptsMenu); }
    void WarningsMenuClick() { FlipOption(Panel.WarningsMenu); }
    void ChipSpeedMenuClick() { FlipOption(Panel.ChipSpeedMenu); }
    void FlipOption(TMenuItem& item) { Change(item.Checked, !item.Checked, TPanelItem::Menus); }

    // --- Notifications gated by a View option -----------------------------------------
    void Warning(std::string_view message);
    void DispInterrupt(std::string_view message);
    void ReadRegInfo(std::string_view registerName);
    void ReadRegWarning(std::string_view registerName);
    void WriteRegInfo(std::string_view registerName);
    void WriteRegWarning(std::string_view registerName);
    // A register warning with its own text: shown under Internal Registers or Warnings.
    void RegisterWarning(std::string_view text);

    // --- Panel state changes, notifying the view only when something changed -----------
    template <class T, class V>
    void Change(T& field, const V& value, TPanelItem item) {
        if (field == value) return;
        field = value;
        FrontPanel.PanelChanged(item);
    }
    void SetLed(TLed& led, TLedScheme scheme, std::string_view hint, TPanelItem item);
    void SetIrqButtonHint();  // after I changes in software: "enabled" or "disabled"
    void SetStatusLed(TColour litColour, std::string_view hint);

    bool InRegisterWindow(int32_t address) const {
        return address >= IRegBeg && address <= IRegEnd;
    }
    // What a port's pins read: the input LEDs where the direction is input, else the latch.
    uint8_t ComposePins(TPortGroup input, uint8_t latch, uint8_t ddr, int pins) const;

private:
    bool PassesOnlyExecute() const;
    void OpenSpan();
    uint32_t RunSpan(const TRunLimits& limits, uint32_t maxInstructions);
    uint32_t SkipWaitPasses(const TRunLimits& limits, uint32_t maxPasses);

    uint8_t ReadByteAt(int32_t address);
    void WriteByteAt(int32_t address, uint8_t byte);
    // A plain read, or the read half of a read-modify-write (a port gives its latch).
    enum class TReadKind : uint8_t { Plain, ForStore };
    uint8_t ReadFlaggedPage(uint16_t address, TReadKind kind);
    void WriteFlaggedPage(uint16_t address, uint8_t byte);
    uint8_t ReadRegisterAt(int32_t address);
    uint8_t ReadRegisterForStore(uint16_t address);
    void WriteRegisterAt(int32_t address, uint8_t byte);
    void ShowGatedMessage(TMenuItem& option, TMessageKind kind, std::string_view text);
    void SetRunControlsIdle();
    void ShowNextInstruction();
    void ShowInstructionText();  // the next instruction's line from the bytes at PC; no log line
    void EnterInterrupt(bool stack);
    void AbandonRead();  // the pass's instruction read nothing in the end
    void ActOnRunState();
    void ShowWindowLabels();
    void CompareMatched(uint8_t flag, int pin, uint8_t action);
    bool FeedNextLine();  // the input file's next line and a CR into the buffer
    void ReportInputFileError(const std::string& path, const std::string& reason);
    void ConsoleEscapeByte(uint8_t byte);
    void SciStartFrame(int32_t cycles);
    void SciFrameSent();
    void SciLookAtLine();
    void SciWakeReceiver(int32_t cycles);
    void DrivePin(int bit, uint8_t action);
    void SetPortConfiguration();  // ports B, C and F and PG7: the bus's or the program's
    bool ExternalMemoryAt(uint16_t address) const;
    void UpdatePinDirections(TPortGroup input, TPortGroup output, char port, uint8_t ddr,
                             int pins);
    void UpdatePortOutput(TPortGroup output, uint8_t latch, int pins);
};

}  // namespace hexmoor

#include "core/MemoryAccess.h"
