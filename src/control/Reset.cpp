// ResetMoor: the machine and its panel as a 68HC11F1 just out of reset in expanded mode.
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
    for (std::size_t offset = 0; offset < m.RegisterBlock.size(); ++offset)
        m.RegisterBlock[offset] = kRegisterMap[offset].Reset;
    m.RegisterBlock[ADCTL] = adctl;
    std::copy(captures.begin(), captures.end(), &m.RegisterBlock[TIC1]);
}

}  // namespace

void TMachine::ResetMoor(TResetKind kind) {
    const TResetKindInfo& info = kResetKinds[kind];
    FrontPanel.ShowMessage(TMessageKind::Reset, TMessageButtons::Ok, info.Dialog);

    SaveInternalRam();
    ReloadRegisterBlock(*this);

    // The mode pins read expanded mode: the bus takes ports B, C and F and PG7.
    OperatingMode = 3;
    RegisterBlock[HPRIO] = 0x25;
    RegisterBlock[CSCTL] = 0x04;
    SetBusConfiguration();

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
    CsPrgEnabled = true;
    CsGenEnabled = CsIo1Enabled = CsIo2Enabled = false;
    ShowWindowLabels();
    const TPanelItem map = TPanelItem::MemoryMap;
    Change(Panel.IEEPromLabels.Begin, IEEPromEnabled ? Hex4(uint16_t(IEEPromBeg)) : "", map);
    Change(Panel.IEEPromLabels.End, IEEPromEnabled ? Hex4(uint16_t(IEEPromEnd)) : "", map);
    Change(Panel.EProgLabels, TRangeLabels{Hex4(uint16_t(EProgBeg)), Hex4(uint16_t(EProgEnd)), kRed}, map);
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
    RegisterPC = uint16_t(MemoryImage[info.Vector] << 8 | MemoryImage[info.Vector + 1]);
    Transfers.RecordInterrupt(from, RegisterPC);
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
}

}  // namespace hexmoor
