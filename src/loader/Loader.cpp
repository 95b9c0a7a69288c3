// Loading a program: the Load control, and reading the file, S-records or an ELF
// executable (told apart by the file's first bytes), into the machine.
#include <cctype>

#include "core/Machine.h"
#include "core/ProgramAssembler.h"
#include "core/TextLineReader.h"
#include "loader/ElfReader.h"
#include "loader/ProgramLoad.h"
#include "loader/S19Reader.h"

namespace hexmoor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// S-records line by line: a damaged record stores nothing; OK goes on with the next line,
// Cancel ends the load.
void LoadS19Records(TProgramLoad& load, TTextLineReader& file) {
    TMachine& m = load.Machine;
    std::string line;
    while (file.ReadLine(line)) {
        m.LoadLineNumber = file.LineNumber();
        // Editors on some systems start a UTF-8 file with a byte-order mark.
        if (m.LoadLineNumber == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        const TS19Line read = ReadS19Line(line);
        if (!read.Message.empty() && !load.Report(read.Message, read.Damaged)) return;
        for (const TS19Byte& byte : read.Bytes) load.Store(byte.Address, byte.Value);
        m.FrontPanel.PumpEvents();
    }
}

// An ELF program segment by segment, as S-records made from it would load: a damaged
// segment stores nothing; OK goes on with the next one, Cancel ends the load.
void LoadElfSegments(TProgramLoad& load, TTextLineReader& file) {
    std::vector<uint8_t>& bytes = load.Machine.LoadedElf;
    if (!file.ReadAll(bytes, kMaxElfFileSize)) {
        bytes.clear();
        return;
    }
    const TElfSegments elf = ReadElfSegments(bytes);
    if (!elf.Message.empty()) {
        load.Fail(elf.Message);
        return;
    }
    for (const TElfSegment& segment : elf.Segments) {
        if (!segment.Message.empty()) {
            if (!load.Report(load.CannotLoad(segment.Message), true)) return;
            continue;
        }
        uint16_t address = segment.Address;
        for (uint8_t byte : segment.Bytes) load.Store(address++, byte);
        load.Machine.FrontPanel.PumpEvents();
    }
}

// An S-record starts with S, its type digit and the two hex digits of its byte count.
bool StartsWithSRecord(TTextLineReader& file) {
    for (std::string_view bom : {std::string_view(), kByteOrderMark})
        for (char type = '0'; type <= '9'; ++type)
            if (file.StartsWith(std::string(bom) + 'S' + type)) return true;
    return false;
}

// Source by its name, and neither ELF nor S-records by its first bytes.
bool IsSource(const std::string& path, TTextLineReader& file) {
    return IsSourceName(path) && !file.StartsWith(kElfMagic) && !StartsWithSRecord(file);
}

// The assembler's bytes, as their S-records would load.
void LoadAssembled(TProgramLoad& load, const std::vector<TProgramAssembler::TBytes>& program) {
    for (const TProgramAssembler::TBytes& run : program) {
        uint16_t address = run.Address;
        for (uint8_t byte : run.Bytes) load.Store(address++, byte);
        load.Machine.FrontPanel.PumpEvents();
    }
}

}  // namespace

bool IsSourceName(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return false;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == "asm" || extension == "a11" || extension == "s11";
}

void TMachine::LoadClick() {
    if (!Panel.LoadMenu.Enabled) return;
    const TPanelItem leds = TPanelItem::RunControls, menus = TPanelItem::Menus;
    Change(Panel.LoadMenu.Enabled, false, menus);
    Change(Panel.LoadedLed.Lit, false, leds);
    Change(Panel.LoadedLed.Hint, " Loading in Progress ", leds);
    Change(Panel.StartMenu.Enabled, false, menus);
    Change(Panel.StopMenu.Enabled, false, menus);
    for (TLed* led : {&Panel.RunningLed, &Panel.StepLed}) {
        Change(led->Enabled, false, leds);
        SetLed(*led, kDisabledScheme, led->Hint, leds);
    }

    const TFileQuestion question{"Load S19 File",
                                 "S19 Files (*.s19)|*.s19|ELF Files (*.elf)|*.elf|Assembly Source (*.asm;*.a11;*.s11)|*.asm;*.a11;*.s11|All  (*.*)|*.*", "S19", "",
                                 true, false, true};
    TLoadResult result = TLoadResult::Loaded;
    if (std::optional<std::string> path = FrontPanel.AskFileName(question)) result = LoadFile(*path);
    // The bytes under PC are the new program's now: the next instruction's line shows them.
    if (RunState != RunWaiting) ShowInstructionText();

    ResetRequest = true;
    InstructionCycles = 0;
    Change(Panel.LoadedLed.Lit, true, leds);
    Change(Panel.BreakPointMenu.Enabled, true, menus);
    SetRunControlsIdle();
    if (result == TLoadResult::PartlyRead) {
        // A damaged or cut-off program is never run: Run and Step wait for one that loads whole.
        Change(Panel.StartMenu.Enabled, false, menus);
        Change(Panel.StopMenu.Enabled, false, menus);
        for (TLed* led : {&Panel.RunningLed, &Panel.StepLed}) {
            Change(led->Enabled, false, leds);
            SetLed(*led, kDisabledScheme, " You must Load a Program First ", leds);
        }
    }
    ClrScr();
}

TLoadResult TMachine::LoadFile(const std::string& path) {
    TTextLineReader file;
    LoadLineNumber = 0;
    LoadedElf.clear();
    if (!file.Open(path)) {
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot load " + path + ": " + file.Error());
        return TLoadResult::NotRead;
    }
    if (Assembler && IsSource(path, file)) {
        file.Close();
        const std::optional<std::vector<TProgramAssembler::TBytes>> program = Assembler->Assemble(path);
        if (!program) return TLoadResult::NotRead;
        TProgramLoad load(*this, path);
        load.WarnOnChipRam = false;  // the assembler's notes told of these
        LoadAssembled(load, *program);
        return load.Finish("no code or data");
    }
    TProgramLoad load(*this, path);
    const bool elf = file.StartsWith(kElfMagic);
    if (elf)
        LoadElfSegments(load, file);
    else
        LoadS19Records(load, file);
    if (!file.Error().empty()) load.Fail(file.Error());
    return load.Finish(elf ? "no loadable segment with data" : "no S1 record with data");
}

}  // namespace hexmoor
