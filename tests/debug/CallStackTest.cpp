// The call stack the session shows, on a program loaded from source: nested calls, an IRQ
// that ends a WAI inside them, SWI, a routine that returns past inline data, recursion deeper
// than the frames kept, and a reset.
#include <gmock/gmock.h>

#include <fstream>

#include "debug/DebugSession.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAreArray;

// Line numbers matter: the frames show them.
constexpr const char* kProgram = R"(* Calls, interrupts and returns.
        ORG  $2000
start   LDS  #$7FFF
        CLI
loop    JSR  outer
        JSR  deep
        BRA  loop
outer   BSR  inner
        JSR  inline
        FCC  "ok"
        FCB  0
back    SWI
        RTS
inner   NOP
        WAI
        RTS
inline  PULX
skip    LDAB 0,X
        INX
        TSTB
        BNE  skip
        JMP  0,X
handler RTI
deep    LDX  #300
down    DEX
        BEQ  bottom
        BSR  down
bottom  RTS
        ORG  $FFF2
        FDB  handler
        ORG  $FFF6
        FDB  handler
        ORG  $FFFE
        FDB  start
)";

TEST(CallStack, FramesNewestFirstAtEachStop) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    TDebugSession session{m, nullptr};
    const std::string path = TempPath("calls.asm");
    std::ofstream(path) << kProgram;
    t.Panel.FileName = path;
    session.ProgramChosen(path);
    m.LoadClick();
    session.TakeLoadedProgram();
    m.RunPass();  // the reset after the load

    const std::string outer = "#2  $200C (outer)  calls.asm:8  call to $2016 (inner)";
    const std::string loop = "  $2004 (loop)  calls.asm:5  call to $200C (outer)";
    const std::string recursing = "  $2029 (down+3)  calls.asm:27  call to $2026 (down)";
    enum TAction { Run, WaitThenIrq, Reset };
    struct TCase {
        TAction Action;
        const char* Breakpoint;  // the only one while the action runs
        std::vector<std::string> Lines;  // the first lines shown, and the last
        std::size_t Count = 0;           // how many lines; 0: just those
    };
    const TCase cases[] = {
        {Run, "inner", {"#0  $2016 (inner)  calls.asm:14", "#1  $200C (outer)  calls.asm:8  call to $2016 (inner)",
                        "#2" + loop}},
        // WAI stacked the registers; the IRQ that ends it enters its handler as one frame.
        {WaitThenIrq, "handler", {"#0  $2022 (handler)  calls.asm:23",
                                  "#1  $2018 (inner+2)  calls.asm:16  interrupt (IRQ) to $2022 (handler)",
                                  outer, "#3" + loop}},
        // Back from the IRQ, from inner, and from the routine that returned past "ok".
        {Run, "handler", {"#0  $2022 (handler)  calls.asm:23",
                          "#1  $2014 (back)  calls.asm:12  interrupt (SWI) to $2022 (handler)", "#2" + loop}},
        // 300 calls deep: the 256 newest are kept.
        {Run, "bottom", {"#0  $202B (bottom)  calls.asm:28", "#1" + recursing, "#256" + recursing,
                         "... 44 older frames not kept (calls deeper than 256)"}, 258},
        {Run, "loop", {"#0  $2004 (loop)  calls.asm:5"}},
        {Run, "inner", {"#0  $2016 (inner)  calls.asm:14", "#1  $200C (outer)  calls.asm:8  call to $2016 (inner)",
                        "#2" + loop}},
        {Reset, nullptr, {"#0  $2000 (start)  calls.asm:3"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Lines.front());
        session.Debugger().RemoveAll();
        if (c.Breakpoint) {
            ASSERT_EQ(session.AddBreakpoint(c.Breakpoint), "");
        }
        if (c.Action == WaitThenIrq) {
            m.StepLedClick();  // NOP
            m.StepLedClick();  // WAI
            m.IrqButtonClick();
        }
        if (c.Action == Reset) {
            m.ResetButtonClick();
            m.RunPass();
        } else {
            m.RunClick();
        }
        std::vector<std::string> lines = StackLines(session.CallStack());
        if (c.Count != 0) {
            ASSERT_EQ(lines.size(), c.Count);
            lines.erase(lines.begin() + 2, lines.end() - 2);
        }
        EXPECT_THAT(lines, ElementsAreArray(c.Lines));
    }
}

}  // namespace
}  // namespace hexmoor::testing
