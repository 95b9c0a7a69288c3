// The machine record: the whole simulated 68HC11F1 board and the operations on it.
//
// The operations take no arguments; they talk through the scratch fields in the manner of
// microcode (LoadByte reads EffectiveAddress and leaves the byte in DataByte).
#pragma once

#include <string>
#include <string_view>

#include "control/RunState.h"
#include "core/ConditionCodes.h"
#include "core/CpuRegisters.h"
#include "core/FrontPanel.h"
#include "core/LogFile.h"
#include "core/MemoryState.h"
#include "core/PanelState.h"

namespace hexmoor {

class TMachine : public TCpuRegisters,
                 public TConditionCodes,
                 public TMemoryImages,
                 public TAddressWindows,
                 public TScratch {
public:
    explicit TMachine(TFrontPanel& frontPanel) : FrontPanel(frontPanel) {}
    TMachine(const TMachine&) = delete;
    TMachine& operator=(const TMachine&) = delete;

    TFrontPanel& FrontPanel;
    TPanelState Panel;

    uint8_t RunState = RunNormal;
    // MODB:MODA taken at reset: 0 bootstrap, 1 special test, 2 single-chip, 3 expanded.
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

    // Executes the one instruction at RegisterPC.
    void FastExecuteInstruction();

    // --- Trace: the next instruction as text, on the panel and in the log ----------------
    std::string TraceText;
    TLogFile LogFile;
    void DecodeInstruction();
    std::string TraceLine() const;  // the log line for TraceText and the registers now
    bool OpenLogFile(const std::string& path);  // reports a failure to the user
    void CloseLogFile();

    // --- Notifications gated by a View option ---------------------------------------
    void Warning(std::string_view message);
    void ReadRegInfo(std::string_view registerName);

    // --- Panel state changes, notifying the view only when something changed -----------
    void SetHint(TControl& control, TPanelItem item, std::string_view hint);
    void SetCaption(std::string& caption, TPanelItem item, std::string_view text);
    void SetIrqButtonHint();  // after I changes in software: "enabled" or "disabled"
    void SetStatusLed(TColour litColour, std::string_view hint);

    bool InRegisterWindow(int32_t address) const {
        return address >= IRegBeg && address <= IRegEnd;
    }

private:
    uint8_t ReadByteAt(int32_t address);
    void WriteByteAt(int32_t address, uint8_t byte);
    void LoadRegisterForStore();
    void ShowGatedMessage(TMenuItem& option, TPanelItem optionItem, TMessageKind kind,
                          std::string_view text);
};

}  // namespace hexmoor

#include "core/MemoryAccess.h"
