// ResetMoor: the machine and its panel as a 68HC11F1 just out of reset, in the mode its
// mode pins give: expanded, or special bootstrap as the boot loader leaves it after a download.
#include <algorithm>
#include <array>

#include "core/Hex.h"
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

struct TResetKindInfo {
    const char* Dialog;
    uint16_t Vector;
};
constexpr std::array<TResetKindInfo, 4> kResetKinds{{
    {"PowerOn Reset", 0xFFFE},
    {"External Reset", 0xFFFE},
    {"Clock Monitor Fail Reset", 0xFFFC},
    {"COP Watchdog Timeout Reset", 0xFFFA},
}};

// Reset reloads the block from the image, except that the input captures keep what they
// caught and ADCTL keeps its channel and mode bits (but not its conversion-complete flag).
void ReloadRegisterBlock(TMachine& m) {
    const uint8_t adctl = m.RegisterBlock[ADCTL] & 0x7F;
    std::array<uint8_t, 6> captures;
    std::copy_n(&m.RegisterBlock[TIC1], captures.size(), captures.begin());
    m.LoadRegisterResetImage();
    m.RegisterBlock[ADCTL] = adctl;
    std::copy(captures.begin(), captures.end(), &m.RegisterBlock[TIC1]);
}

}  // namespace

void TMachine::ResetMoor(TResetKind kind) {
    const TResetKindInfo& info = kResetKinds[kind];
    FrontPanel.ShowMessage(TMessageKind::Reset, TMessageButtons::Ok, info.Dialog);

    SaveInternalRam();
    ReloadRegisterBlock(*this);

    // Expanded mode: the bus takes ports B, C and F and PG7, the program chip select is on.
    // Special bootstrap: a single-chip mode with the boot ROM in (RBOOT, SMOD, IRV set).
    const bool bootstrap = BootstrapPins();
    RegisterBlock[HPRIO] = bootstrap ? 0xD5 : 0x25;
    RegisterBlock[CSCTL] = bootstrap ? 0x00 : 0x04;

    ConfigValue = ChipConfig;
    CopDisabled = ConfigValue & 0x04;
    if (!CopDisabled) {
        CopCycles = 32768;
        CopBlocks = 1;
    }
    IEEPromEnabled = ConfigValue & 0x01;
    IEEPromBeg = int32_t((ConfigValue & 0xF0) << 8 | 0x0E00);
    IEEPromEnd = int32_t((ConfigValue & 0xF0) << 8 | 0x0FFF);

    ResetWindows();
    CsPrgEnabled = !bootstrap;
    CsGenEnabled = CsIo1Enabled = CsIo2Enabled = false;
    ApplyModeBits();
    ShowWindowLabels();
    const TPanelItem map = TPanelItem::MemoryMap;
    Change(Panel.IEEPromLabels.Begin, IEEPromEnabled ? Hex4(uint16_t(IEEPromBeg)) : "", map);
    Change(Panel.IEEPromLabels.End, IEEPromEnabled ? Hex4(uint16_t(IEEPromEnd)) : "", map);
    Change(Panel.EProgLabels,
           CsPrgEnabled ? TRangeLabels{Hex4(uint16_t(EProgBeg)), Hex4(uint16_t(EProgEnd)), kRed}
                        : TRangeLabels{"", "", kNavy},
           map);
    Change(Panel.EGenLabels, TRangeLabels{"", "", kNavy}, map);
    Change(Panel.EIo1Labels.Begin, "", map);
    Change(Panel.EIo1Labels.End, "", map);
    Change(Panel.EIo2Labels.Begin, "", map);
    Change(Panel.EIo2Labels.End, "", map);
    RestoreInternalRam();

    MaskDelay = false;
    FlagS = FlagX = FlagI = FlagZ = true;
    FlagH = FlagN = FlagV = FlagC = false;
    static_cast<TWriteOnceLatches&>(*this) = TWriteOnceLatches{};

    PrescalerShift = PrescalerMask = PrescalerCount = TimerCount = 0;
    RtiRate = 1;
    RtiAccumulator = RtiTicks = 0;

    WaitingForInput = false;
    XirqLatch = false;
    PendingInterrupts = 0;
    EnabledInterrupts = IntIRQ;
    static_cast<TSciState&>(*this) = TSciState{};
    SciTiming();

    RegisterD = RegisterX = RegisterY = RegisterSP = 0;
    const uint16_t from = RegisterPC;
    // After a download the boot loader jumps to the program at the start of the RAM.
    const bool downloaded = bootstrap && (kind == PowerOnReset || kind == ExternalReset);
    RegisterPC = downloaded ? 0x0000 : ReadVector(info.Vector);
    Transfers.RecordInterrupt(from, RegisterPC);
    CallStack.Clear();
    DisplayAllRegisters();
    CycleCount = 3;
    InstructionCycles = 0;
    WaitLoop.Restart(CycleCount);
    DecodeInstruction();

    Change(Panel.IrqButton.Hint, kIrqDisabledHint, TPanelItem::InterruptButtons);
    Change(Panel.XIrqButton.Hint, " Click to generate an XIRQ (Currently disabled) ",
           TPanelItem::InterruptButtons);

    Ic1Edge = Ic2Edge = Ic3Edge = Ic4Edge = 0;
    Oc2Action = Oc3Action = Oc4Action = 0;
    Oc1Action.fill(0);
    PulseMode = 0;
    PulseGate = false;
    UpdatePortADirection();
    UpdatePortCDirection();
    UpdatePortDDirection();
    UpdatePortGDirection();

    // Whatever the CPU was doing (waiting in WAI or STOP), it leaves reset running.
    RunState = RunNormal;
    SetStatusLed(kLime, kNormalModeHint);
    ResetRequest = false;
    RegisterBlock[COPRST] = 0x55;

    ClrScr();
    InputBuffer.Clear();
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
    ConsoleEscape = false;
    if (InputFileOpen) CloseInputFile();
    // The boot loader leaves the serial port on at 7,812 baud, transmitter and receiver.
    if (bootstrap) SetSciControl(0x22, 0x0C);
}

}  // namespace hexmoor
