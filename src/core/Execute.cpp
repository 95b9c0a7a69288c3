// FastExecuteInstruction: one handler per opcode of the four pages, each generated at
// compile time from the opcode table, so decoding is a single indexed call.
#include <array>
#include <utility>

#include "core/ControlInstructions.h"
#include "core/DataInstructions.h"

namespace hexmoor {

namespace execute {

void StopInstruction(TMachine& m) {
    m.StopExecuted = true;
    if (m.FlagS) {
        m.Warning("STOP executed as NOP");
        m.RegisterPC = uint16_t(m.RegisterPC + 1);
        m.InstructionCycles = 2;
        return;
    }
    m.Warning("Entering STOP mode");
    if (m.RegisterBlock[kOptionOffset] & kClockMonitorBits) {
        // The clock stops, the clock monitor notices, and the run loop resets the chip.
        m.RunState = RunClockMonitorReset;
        return;
    }
    std::string hint = " The CPU is in STOP Mode, to Exit: \r ° RESET \r ° XIRQ ";
    hint += m.FlagX ? "(NOP)" : "(Interrupt)";
    if (!m.FlagI) hint += "\r ° IRQ";
    m.SetStatusLed(kYellow, hint);
    m.InstructionCycles = 2;
    m.RunState = RunStopped;
}

void IllegalOpcodeTrap(TMachine& m, const std::string& warning, int cycles) {
    m.Warning(warning);
    m.StackRegisters();
    m.FlagI = true;
    const uint16_t vector = m.ReadVector(kIllegalOpcodeVector);
    m.Transfers.Record(m.RegisterPC, vector);
    m.CallStack.Push({m.RegisterPC, vector, kIllegalOpcodeVector, m.RegisterSP});
    m.RegisterPC = vector;
    m.InstructionCycles = cycles;
    m.ChangeMask = ChangeMaskOf({.Operation = TOperation::Illegal});
}

namespace {

using THandler = void (*)(TMachine&);

void ExecutePrebyte(TMachine& m, int page);

template <int Page, int Code>
[[gnu::always_inline]] inline void ExecuteOpcode(TMachine& m) {
    using I = TDecoded<Page, Code>;
    using enum TOperation;
    constexpr TOperation op = I::Op.Operation;
    if constexpr (op == Prebyte) {
        ExecutePrebyte(m, PageAfter(Code));
    } else if constexpr (op == Illegal) {
        IllegalOpcodeTrap(m, "Illegal Instruction (Page " + std::to_string(Page + 1) + ")",
                          IllegalOpcodeCycles(Page));
    } else if constexpr (op == Test) TestInstruction<I>(m);
    else if constexpr (op == Nop) Finish<I>(m);
    else if constexpr (op == Sub) AccumulatorOperation<I, &TConditionCodes::Sub, true>(m);
    else if constexpr (op == Cmp) AccumulatorOperation<I, &TConditionCodes::Sub, false>(m);
    else if constexpr (op == Sbc) AccumulatorOperation<I, &TConditionCodes::Sbc, true>(m);
    else if constexpr (op == And) AccumulatorOperation<I, &TConditionCodes::And, true>(m);
    else if constexpr (op == Bit) AccumulatorOperation<I, &TConditionCodes::And, false>(m);
    else if constexpr (op == Lda) AccumulatorOperation<I, &TConditionCodes::Load, true>(m);
    else if constexpr (op == Eor) AccumulatorOperation<I, &TConditionCodes::Eor, true>(m);
    else if constexpr (op == Adc) AccumulatorOperation<I, &TConditionCodes::Adc, true>(m);
    else if constexpr (op == Ora) AccumulatorOperation<I, &TConditionCodes::Ora, true>(m);
    else if constexpr (op == Add) AccumulatorOperation<I, &TConditionCodes::Add, true>(m);
    else if constexpr (op == Sta) StoreAccumulator<I>(m);
    else if constexpr (op == Neg) OneOperand<I, &TConditionCodes::Neg>(m);
    else if constexpr (op == Com) OneOperand<I, &TConditionCodes::Com>(m);
    else if constexpr (op == Lsr) OneOperand<I, &TConditionCodes::Lsr>(m);
    else if constexpr (op == Ror) OneOperand<I, &TConditionCodes::Ror>(m);
    else if constexpr (op == Asr) OneOperand<I, &TConditionCodes::Asr>(m);
    else if constexpr (op == Asl) OneOperand<I, &TConditionCodes::Asl>(m);
    else if constexpr (op == Rol) OneOperand<I, &TConditionCodes::Rol>(m);
    else if constexpr (op == Dec) OneOperand<I, &TConditionCodes::Dec>(m);
    else if constexpr (op == Inc) OneOperand<I, &TConditionCodes::Inc>(m);
    else if constexpr (op == Tst) OneOperand<I, &TConditionCodes::Tst>(m);
    else if constexpr (op == Clr) OneOperand<I, &TConditionCodes::Clr>(m);
    else if constexpr (op == Addd || op == Subd || op == Cp16 || op == Ld16)
        Register16Operation<I>(m);
    else if constexpr (op == St16) StoreRegister16<I>(m);
    else if constexpr (op == Bset || op == Bclr) BitSetOrClear<I>(m);
    else if constexpr (op == Brset || op == Brclr) BitTestBranch<I>(m);
    else if constexpr (op == Branch) ConditionalBranch<I>(m);
    else if constexpr (op == Jmp) Jump<I>(m);
    else if constexpr (op == Jsr || op == Bsr) JumpToSubroutine<I>(m);
    else if constexpr (op == Rts) ReturnFromSubroutine<I>(m);
    else if constexpr (op == Psh8 || op == Pul8 || op == Psh16 || op == Pul16) PushOrPull<I>(m);
    else if constexpr (op == Rti) ReturnFromInterrupt<I>(m);
    else if constexpr (op == Swi) SoftwareInterrupt<I>(m);
    else if constexpr (op == Wai) WaitForInterrupt<I>(m);
    else if constexpr (op == Stop) StopInstruction(m);
    else RegisterOperation<I>(m);
}

template <int Page, std::size_t... Codes>
constexpr std::array<THandler, 256> MakePage(std::index_sequence<Codes...>) {
    return {&ExecuteOpcode<Page, int(Codes)>...};
}

constexpr std::array<std::array<THandler, 256>, kPageCount> kHandlers{
    MakePage<0>(std::make_index_sequence<256>{}),
    MakePage<1>(std::make_index_sequence<256>{}),
    MakePage<2>(std::make_index_sequence<256>{}),
    MakePage<3>(std::make_index_sequence<256>{}),
};

void ExecutePrebyte(TMachine& m, int page) { kHandlers[page][FetchByte(m, 1)](m); }

// Instructions a span leaves to a pass of the run loop: those that unmask interrupts or
// change the run state, and DAA, whose warning shows the read-outs.
constexpr bool EndsSpan(TOperation op) {
    using enum TOperation;
    return op == Illegal || op == Test || op == Cli || op == Tap || op == Rti || op == Swi || op == Wai ||
           op == Stop || op == Daa;
}

// In a span the handlers are threaded: each executes its instruction and, while the span
// lasts, goes straight on to the next instruction's handler (a tail call), so every
// handler has its own dispatch. A handler for an instruction the span leaves to a pass
// executes nothing and returns.
// The program counter travels in a register from handler to handler, so the next
// instruction's fetch does not wait for this one's store of RegisterPC to be read back.
// There are two sets of handlers: one looks at the stop marks before each instruction,
// the other, for runs with no address marked, never does.
using TSpanHandler = void (*)(TMachine&, uint16_t pc);
using TSpanPage = std::array<TSpanHandler, 256>;
using TSpanHandlers = std::array<TSpanPage, kPageCount>;
template <bool Stops>
struct TSpan {
    static const TSpanHandlers Handlers;
};

inline TSpanHandler FirstSpanHandler(const TMachine& m) {
    const TSpanHandlers& handlers = m.StopMarks.Any() ? TSpan<true>::Handlers : TSpan<false>::Handlers;
    return handlers[0][m.MemoryImage[m.RegisterPC]];
}

// Past the ceiling: an event is due, or a register access settled the span, which may go
// on from here when nothing is due. Out of line, so that the handlers, which only tail-call,
// save no registers.
[[gnu::noinline]] void ContinueAfterCeiling(TMachine& m) {
    if (m.SpanOpen || !m.ReopenSpan() || m.CycleCount > m.SpanCeiling) return;
    return FirstSpanHandler(m)(m, m.RegisterPC);
}

// After an instruction: counted (by SpanLeft), and the span goes on unless its instruction
// count or its cycles are used up, or a stop is marked at the next instruction.
template <bool Stops>
[[gnu::always_inline]] inline void ContinueSpan(TMachine& m) {
    m.CycleCount += m.InstructionCycles;
    const uint16_t pc = m.RegisterPC;
    if (--m.SpanLeft == 0 || (Stops && m.MarkedStop(pc))) return;
    if (m.CycleCount > m.SpanCeiling) [[unlikely]] return ContinueAfterCeiling(m);
    return TSpan<Stops>::Handlers[0][m.MemoryImage[pc]](m, pc);
}

// Page Page's handler for Code; on the first page a prebyte goes on to its page's handler
// for the byte after it.
template <bool Stops, int Page, int Code>
void ExecuteInSpan(TMachine& m, uint16_t pc) {
    m.RegisterPC = pc;  // already there: this tells the compiler so
    constexpr TOperation op = kOpcodeTable[Page][Code].Operation;
    if constexpr (op == TOperation::Prebyte) {
        return TSpan<Stops>::Handlers[PageAfter(Code)][FetchByte(m, 1)](m, pc);
    } else if constexpr (!EndsSpan(op)) {
        ExecuteOpcode<Page, Code>(m);
        return ContinueSpan<Stops>(m);
    }
}

template <bool Stops, int Page, std::size_t... Codes>
constexpr TSpanPage MakeSpanPage(std::index_sequence<Codes...>) {
    return {&ExecuteInSpan<Stops, Page, int(Codes)>...};
}

template <bool Stops>
const TSpanHandlers TSpan<Stops>::Handlers{
    MakeSpanPage<Stops, 0>(std::make_index_sequence<256>{}),
    MakeSpanPage<Stops, 1>(std::make_index_sequence<256>{}),
    MakeSpanPage<Stops, 2>(std::make_index_sequence<256>{}),
    MakeSpanPage<Stops, 3>(std::make_index_sequence<256>{}),
};

// The instructions a span leaves to a pass, by page and opcode; and for each first-page
// opcode what a followed span does: execute it (0), leave it to a pass (kLeave), or look up
// the next byte on the page a prebyte leads to (its page number).
constexpr auto kEndsSpan = [] {
    std::array<std::array<bool, 256>, kPageCount> ends{};
    for (int page = 0; page < kPageCount; ++page)
        for (int code = 0; code < 256; ++code) ends[page][code] = EndsSpan(kOpcodeTable[page][code].Operation);
    return ends;
}();
constexpr uint8_t kLeave = 0xFF;
constexpr auto kFollowedSteps = [] {
    std::array<uint8_t, 256> steps{};
    for (int code = 0; code < 256; ++code) {
        const TOperation op = kOpcodeTable[0][code].Operation;
        steps[code] = op == TOperation::Prebyte ? uint8_t(PageAfter(uint8_t(code))) : kEndsSpan[0][code] ? kLeave : 0;
    }
    return steps;
}();

}  // namespace
}  // namespace execute

// One instruction after another through the pass handlers, looking after each whether it
// moved a register the debugger follows: a loop, not threaded, so that the span handlers
// stay free of the look.
void TMachine::ExecuteFollowedInSpan() {
    using namespace execute;
    const TRegisterWords mask = FollowedMask, seen = FollowedSeen;
    while (true) {
        const uint8_t code = MemoryImage[RegisterPC];
        if (const uint8_t step = kFollowedSteps[code]; step != 0)
            if (step == kLeave || kEndsSpan[step][FetchByte(*this, 1)]) return;
        kHandlers[0][code](*this);
        CycleCount += InstructionCycles;
        if (--SpanLeft == 0 || MarkedStop(RegisterPC) || CycleCount > SpanCeiling) return;
        const TRegisterWords now = RegisterWords();
        if ((((now.Registers ^ seen.Registers) & mask.Registers) | ((now.Flags ^ seen.Flags) & mask.Flags)) != 0)
            return;
    }
}

void TMachine::FastExecuteInstruction() { execute::kHandlers[0][MemoryImage[RegisterPC]](*this); }

void TMachine::ExecuteInSpan() { execute::FirstSpanHandler(*this)(*this, RegisterPC); }

}  // namespace hexmoor
