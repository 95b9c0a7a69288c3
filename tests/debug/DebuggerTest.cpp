// The debugger core on a running program: where breakpoints and watchpoints stop it, what
// Step Over, Step Out and Run to do, and the history of what it executed.
#include <gmock/gmock.h>

#include <map>

#include "core/Hex.h"
#include "core/OpcodeTable.h"
#include "debug/DebugSession.h"
#include "debug/History.h"
#include "debug/Peek.h"
#include "debug/RegisterEdit.h"
#include "debug/SymbolFiles.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;

constexpr uint16_t kCount = 0x40;

// debug_target loaded and reset, with its symbols, and a debugger on it.
struct TDebugged {
    explicit TDebugged(bool traced = false) {
        t.LoadThroughPanel("debug_target");
        t.Machine->RunPass();  // the reset after the load
        std::string path = TestProgramPath("debug_target");
        debugger.Symbols = LoadSymbolsFor(path.replace(path.size() - 3, 3, "elf")).Table;
        if (traced != t.Machine->Panel.TraceMenu.Checked) t.Machine->TraceMenuClick();
    }
    uint16_t At(const char* name) const { return *debugger.Symbols.Find(name); }
    // A run until something stops it (the fake panel's deadline catches one that does not).
    void Run() { t.Machine->RunClick(); }
    uint8_t Count() const { return PeekByte(*t.Machine, kCount); }

    TTestMachine t;
    TDebugSession session{*t.Machine, nullptr};
    TDebugger& debugger = session.Debugger();
};

TEST(Debugger, BreakpointsStopWhereAndWhenTold) {
    struct TCase {
        const char* Where;
        const char* Condition;
        uint64_t StopAtHit;
        uint8_t Count, CountNext;  // at the stop, and at the stop after going on
    };
    const TCase cases[] = {
        {"loop", "", 1, 0, 1},
        {"loop", "[count] == 3", 1, 3, 3},  // going on: the condition holds no more before the end
        {"loop", "", 3, 2, 3},
        {"double", "A == 4 && CCR.Z == 0", 1, 4, 4},
        {"swi_handler", "", 1, 1, 2},
    };
    for (bool traced : {false, true})
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(c.Where) + " if " + c.Condition + (traced ? ", traced" : ""));
            TDebugged d(traced);
            ASSERT_EQ(d.session.AddBreakpoint(c.Where, c.Condition, c.StopAtHit), "");
            d.Run();
            EXPECT_EQ(d.t.Machine->RegisterPC, d.At(c.Where));
            EXPECT_EQ(d.Count(), c.Count);
            ASSERT_TRUE(d.debugger.LastStop());
            EXPECT_EQ(d.debugger.LastStop()->Text, "breakpoint at " + d.debugger.Describe(d.At(c.Where)));
            if (c.Count == c.CountNext) continue;
            d.Run();  // executes the instruction it stopped at first
            EXPECT_EQ(d.t.Machine->RegisterPC, d.At(c.Where));
            EXPECT_EQ(d.Count(), c.CountNext);
        }
}

TEST(Debugger, BadConditionsAndAddressesAreRefusedSayingWhere) {
    struct TCase {
        const char* Where;
        const char* Condition;
        const char* Message;
    } cases[] = {
        {"loop", "[count", "column 7"},
        {"loop", "A ==", "column 5"},
        {"loop", "nosuch == 1", "unknown name nosuch"},
        {"nowhere", "", "unknown name nowhere"},
        {"$12345", "", "not an address"},
    };
    TDebugged d;
    for (const TCase& c : cases) {
        EXPECT_THAT(d.session.AddBreakpoint(c.Where, c.Condition), HasSubstr(c.Message)) << c.Condition;
        EXPECT_TRUE(d.debugger.Breakpoints().empty());
    }
}

TEST(Debugger, WatchpointsStopAfterTheAccess) {
    struct TCase {
        const char* Where;
        TWatchAccess Access;
        std::optional<uint8_t> Value;
        uint16_t Address;
        uint8_t Before, After;
        const char* Made;  // the instruction that made the access: a name and an offset
        int Offset;
    } cases[] = {
        {"count", TWatchAccess::Write, {}, kCount, 0x00, 0x00, "_start", 3},  // CLR
        {"count", TWatchAccess::Write, 3, kCount, 0x02, 0x03, "loop", 0},
        {"$3F-$41", TWatchAccess::ReadWrite, {}, kCount, 0x00, 0x00, "_start", 3},
        {"count", TWatchAccess::Read, {}, kCount, 0x00, 0x00, "_start", 3},  // CLR reads before it writes
        {"$0FFF-$1004", TWatchAccess::Write, {}, 0x1004, 0x00, 0x01, "swi_handler", 3},  // a register, pages on
        {"$1004", TWatchAccess::Write, 2, 0x1004, 0x01, 0x02, "swi_handler", 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Where);
        TDebugged d;
        ASSERT_EQ(d.session.AddWatchpoint(c.Where, c.Access, c.Value), "");
        // Another added and removed again: the watched bytes are made afresh from the list.
        ASSERT_EQ(d.session.AddWatchpoint("$FFF0", TWatchAccess::Write), "");
        d.debugger.RemoveWatchpoint(d.debugger.Watchpoints().back().Id);
        d.Run();
        ASSERT_TRUE(d.debugger.LastStop());
        const TDebugStop& stop = *d.debugger.LastStop();
        EXPECT_EQ(stop.Kind, TDebugStop::Watchpoint);
        EXPECT_EQ(stop.Address, c.Address);
        EXPECT_EQ(stop.Before, c.Before);
        EXPECT_EQ(stop.After, c.After);
        const uint16_t made = d.At(c.Made) + c.Offset;
        EXPECT_EQ(stop.Instruction, made);
        EXPECT_NE(d.t.Machine->RegisterPC, made) << "the instruction has finished";
    }
}

// The opcode of a page-one instruction's indexed-by-X form.
uint8_t IndexedX(std::string_view mnemonic) {
    for (int code = 0; code < 256; ++code) {
        const TOpcode& opcode = kOpcodeTable[0][code];
        if (opcode.Mnemonic == mnemonic && opcode.Mode == TAddressing::IndexedX) return uint8_t(code);
    }
    ADD_FAILURE() << "no " << mnemonic << " n,X";
    return 0;
}

// A read-modify-write instruction reads its byte before it writes it (CLR too: the chip
// gives it INC's bus cycles), so a watchpoint hears the read and then the write, on a
// register as on memory. Each instruction is followed by LDAA and STAA of the same byte:
// a stop there would mean the instruction's own access went unheard.
TEST(Debugger, ReadModifyWriteInstructionsAreWatchedReadThenWritten) {
    struct TCase {
        const char* Mnemonic;
        std::vector<uint8_t> Operands;  // after the offset: a mask, and a branch's offset
        std::optional<uint8_t> Result;  // the byte written from $81; none: it only reads
    };
    const TCase cases[] = {
        {"NEG", {}, 0x7F}, {"COM", {}, 0x7E}, {"LSR", {}, 0x40}, {"ROR", {}, 0x40},
        {"ASR", {}, 0xC0}, {"ASL", {}, 0x02}, {"ROL", {}, 0x02}, {"DEC", {}, 0x80},
        {"INC", {}, 0x82}, {"CLR", {}, 0x00}, {"BSET", {0x0C}, 0x8D}, {"BCLR", {0x01}, 0x80},
        {"TST", {}, {}}, {"BRSET", {0x01, 0x00}, {}}, {"BRCLR", {0x02, 0x00}, {}},
    };
    constexpr uint16_t kCode = 0x2000;
    for (const uint16_t address : {uint16_t(0x1004), kCount})  // PORTB, and a byte of RAM
        for (const auto& [access, accessName] : {std::pair{TWatchAccess::Read, "r"}, std::pair{TWatchAccess::Write, "w"},
                                                 std::pair{TWatchAccess::ReadWrite, "rw"}})
            for (const bool traced : {false, true})
                for (const TCase& c : cases) {
                    SCOPED_TRACE(std::string(c.Mnemonic) + " 0,X on $" + Hex4(address) + ":" + accessName +
                                 (traced ? ", traced" : ""));
                    TTestMachine t;
                    TMachine& m = *t.Machine;
                    std::vector<uint8_t> code{IndexedX(c.Mnemonic), 0x00};
                    code.insert(code.end(), c.Operands.begin(), c.Operands.end());
                    const uint16_t store = uint16_t(kCode + code.size() + 2);
                    code.insert(code.end(), {IndexedX("LDAA"), 0x00, IndexedX("STAA"), 0x00, 0x20, 0xFE});
                    t.Place(kCode, code);
                    m.RegisterX = address;
                    m.FlagC = false;
                    m.EffectiveAddress = address;
                    m.DataByte = 0x81;
                    m.StoreByte();
                    if (traced != m.Panel.TraceMenu.Checked) m.TraceMenuClick();
                    m.Panel.RunningLed.Enabled = true;

                    TDebugger debugger{m};
                    std::vector<std::string> stops;
                    debugger.OnStop = [&](const TDebugStop& stop) { stops.push_back(stop.Text); };
                    debugger.AddWatchpoint(address, address, "$" + Hex4(address), access);
                    m.RunClick();

                    const std::string watched = "watchpoint: $" + Hex4(address);
                    const std::string by = " by the instruction at $";
                    const std::string read = watched + " read: $81" + by + Hex4(kCode);
                    const std::string written = c.Result
                        ? watched + " written: $81 -> $" + Hex2(*c.Result) + by + Hex4(kCode)
                        : watched + " written: $81 -> $81" + by + Hex4(store);
                    std::vector<std::string> expected;
                    if (access != TWatchAccess::Write) expected.push_back(read);
                    if (access != TWatchAccess::Read && (c.Result || access == TWatchAccess::Write))
                        expected.push_back(written);
                    EXPECT_EQ(stops, expected);
                }
}

// A click in a code view's margin sets a breakpoint there, and a second click removes it.
TEST(Debugger, MarginClicksToggle) {
    TDebugged d;
    ASSERT_EQ(d.session.AddBreakpoint("halt"), "");
    d.session.ToggleBreakpointAt(d.At("double"));
    d.Run();
    EXPECT_EQ(d.t.Machine->RegisterPC, d.At("double"));
    d.session.ToggleBreakpointAt(d.At("double"));
    d.Run();
    EXPECT_EQ(d.t.Machine->RegisterPC, d.At("halt"));
}

// Each step from where the last left off.
TEST(Debugger, StepOverStepOutAndRunTo) {
    enum TAction { RunTo, Step, Over, Out, Run };
    struct TCase {
        TAction Action;
        const char* Where;  // Run to's target; where the action must end (name + offset)
        int Offset;
        const char* Breakpoint = nullptr;  // set before the action
    };
    const TCase cases[] = {
        {RunTo, "loop", 0},
        {Over, "loop", 3},              // INC is no call: a step
        {Over, "loop", 6},              // over JSR twice and its nested BSR
        {Over, "loop", 12},             // over a routine that returns past "ok" and its zero
        {Over, "loop", 13},             // over SWI and its handler
        {RunTo, "print_inline", 0},
        {Out, "loop", 12},              // out of the routine that returns past "ok" by a JMP
        {RunTo, "loop", 0},
        {Step, "loop", 3},
        {Over, "double", 0, "double"},  // a breakpoint inside stops a Step Over
        {Out, "twice", 5},              // out of the nested routine, after its BSR
        {Out, "loop", 6},               // out of twice
        {Run, "swi_handler", 0, "swi_handler"},
        {Out, "loop", 13},              // out of an interrupt handler at its RTI
    };
    TDebugged d;
    TMachine& m = *d.t.Machine;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Where) + "+" + std::to_string(c.Offset));
        if (c.Breakpoint) {
            ASSERT_EQ(d.session.AddBreakpoint(c.Breakpoint), "");
        }
        switch (c.Action) {
        case RunTo: d.debugger.ArmRunTo(d.At(c.Where)); d.Run(); break;
        case Step: m.StepLedClick(); break;
        case Over:
            if (d.debugger.ArmStepOver()) d.Run();
            else m.StepLedClick();
            break;
        case Out: ASSERT_EQ(d.session.ArmStepOut(), ""); d.Run(); break;
        case Run: d.Run(); break;
        }
        EXPECT_EQ(m.RegisterPC, d.At(c.Where) + c.Offset);
        EXPECT_FALSE(m.Panel.RunningLed.Lit);
    }
}

// The history rebuilt from the transfers matches the instructions a pass-by-pass run
// executed, for an untraced run in spans and for a traced one.
TEST(Debugger, HistoryIsWhatRan) {
    TDebugged recorded;
    std::vector<uint16_t> executed;
    TMachine& reference = *recorded.t.Machine;
    for (int pass = 0; pass < 3000; ++pass) {
        const uint16_t pc = reference.RegisterPC;
        const uint64_t before = reference.InstructionCount;
        reference.RunPass();
        if (reference.InstructionCount != before) executed.push_back(pc);
    }
    for (bool spans : {true, false}) {
        SCOPED_TRACE(spans ? "in spans" : "pass by pass");
        TDebugged d;
        TMachine& m = *d.t.Machine;
        if (spans) {
            m.Panel.RunningLed.Lit = true;
            m.RunSlice(TRunLimits{}, 3000);
        } else {
            for (int pass = 0; pass < 3000; ++pass) m.RunPass();
        }
        ASSERT_EQ(m.InstructionCount, reference.InstructionCount);
        EXPECT_TRUE(m.CallStack == reference.CallStack) << "the calls not yet returned from";
        std::vector<uint16_t> shown;
        for (const THistoryLine& line : ExecutionHistory(m, nullptr))
            if (!line.Interrupt) shown.push_back(line.Address);
        ASSERT_GE(shown.size(), 900u);
        EXPECT_TRUE(std::equal(shown.rbegin(), shown.rend(), executed.rbegin()));
    }
}

// A register edited while stopped: the read-out and the next instruction's line show it at
// once, every bit as typed, and a value wider than the register is refused.
TEST(Debugger, RegisterEdits) {
    struct TCase {
        const char* Caption;
        uint32_t Value;
        const char* Error;
        bool TraceLine;    // Text is in the next instruction's line, not in a read-out
        const char* Text;
    };
    const TCase cases[] = {
        {"A", 0x7F, "", false, "7F"},
        {"A", 0x100, "A holds at most $FF", false, nullptr},
        {"IX", 0x1234, "", false, "1234"},
        {"SP", 0x10000, "SP holds at most $FFFF", false, nullptr},
        {"PC", 0x2000, "", true, "NOP"},
        {"CCR", 0xC0, "", false, "~LS~LX~RH~RI~RN~RZ~RV~RC"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Caption) + " = " + std::to_string(c.Value));
        TDebugged d;
        TMachine& m = *d.t.Machine;
        m.FlagX = false;
        d.t.Poke(0x2000, {0x01});
        const std::optional<TEditableRegister> name = RegisterNamed(c.Caption);
        ASSERT_TRUE(name);
        EXPECT_EQ(SetRegister(m, *name, c.Value), c.Error);
        if (*c.Error) continue;
        EXPECT_EQ(RegisterValue(m, name->Register), c.Value);
        if (c.TraceLine) {
            EXPECT_THAT(m.Panel.InstructionLabel, HasSubstr(c.Text));
            continue;
        }
        const TReadout* readouts[] = {&m.Panel.RegisterADisplay, &m.Panel.RegisterXDisplay,
                                      &m.Panel.RegisterSPDisplay, &m.Panel.RegisterCCRDisplay};
        bool shown = false;
        for (const TReadout* readout : readouts) shown |= readout->Text == c.Text;
        EXPECT_TRUE(shown) << c.Text;
    }
    EXPECT_FALSE(RegisterNamed("Address"));
}

// Lines that ran traced or stepped show the registers they left, lines of an untraced run
// none; a traced pass never lends its registers to another instruction.
TEST(Debugger, HistoryShowsTheRegistersOfTracedInstructions) {
    TDebugged reference;
    TMachine& r = *reference.t.Machine;
    std::map<uint64_t, TRegisterValues> after;  // by instruction number
    for (int pass = 0; pass < 3000; ++pass) {
        const uint64_t before = r.InstructionCount;
        r.RunPass();
        if (r.InstructionCount != before)
            after[r.InstructionCount] = {r.RegisterA, r.RegisterB, r.RegisterX, r.RegisterY, r.RegisterSP, r.PackedCcr()};
    }
    TDebugged d(true);
    TMachine& m = *d.t.Machine;
    ASSERT_EQ(d.session.AddBreakpoint("swi_handler"), "");
    d.Run();
    const uint64_t traced = m.InstructionCount;
    m.TraceMenuClick();
    d.debugger.RemoveBreakpoint(d.debugger.Breakpoints().front().Id);
    ASSERT_EQ(d.session.AddBreakpoint("halt"), "");
    d.Run();
    ASSERT_EQ(m.RegisterPC, d.At("halt"));
    const std::vector<THistoryLine> lines = ExecutionHistory(m, nullptr, 1000, &d.debugger.TracedPasses());
    uint64_t number = m.InstructionCount;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        SCOPED_TRACE(Hex4(line->Address) + " " + line->Text);
        if (line->Interrupt) {
            EXPECT_FALSE(line->Registers);
            continue;
        }
        EXPECT_EQ(line->Registers, number <= traced ? std::optional(after.at(number)) : std::nullopt);
        --number;
    }

    TTracedPasses passes;
    passes.Record({5, 0x2000, {}});
    passes.Record({6, 0x2003, {}});
    EXPECT_EQ(passes.Find(6, 0x2006), nullptr);  // code changed since: another instruction there
    passes.Record({2, 0x2000, {}});              // the count began again
    EXPECT_EQ(passes.Find(5, 0x2000), nullptr);
    EXPECT_NE(passes.Find(2, 0x2000), nullptr);
}

}  // namespace
}  // namespace hexmoor::testing
