// What a program sees at the terminal and printer ports.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>

#include "support/TestMachine.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

struct TLink : TTestMachine {
    uint8_t Read(uint8_t offset) {
        Machine->EffectiveAddress = uint16_t(0x1000 + offset);
        Machine->LoadByte();
        return Machine->DataByte;
    }
    void Write(uint8_t offset, std::initializer_list<uint8_t> bytes) {
        for (uint8_t byte : bytes) {
            Machine->EffectiveAddress = uint16_t(0x1000 + offset);
            Machine->DataByte = byte;
            Machine->StoreByte();
        }
    }
    void Type(const std::string& keys) {
        for (char key : keys) Machine->FormKeyPress(uint8_t(key));
    }
    std::string Row(int row) const { return Machine->Screen.RowText(row); }
};

TEST(TerminalLink, StatusAndDataReads) {
    TLink t;
    EXPECT_EQ(t.Read(0x36), 0);
    t.Type("AB\r");
    EXPECT_EQ(t.Read(0x36), 1);
    EXPECT_EQ(t.Read(0x37), 0x41);
    EXPECT_EQ(t.Read(0x37), 0x42);
    EXPECT_EQ(t.Read(0x37), 0x0D);
    EXPECT_EQ(t.Read(0x36), 0);
    EXPECT_TRUE(t.Panel.Messages.empty()) << "the terminal ports show no register messages";
}

TEST(TerminalLink, LongTypedAheadTextIsDeliveredWhole) {
    TLink t;
    std::string typed;
    for (int i = 0; i < 100; ++i) typed += char('0' + i % 10);
    t.Type(typed);
    std::string read;
    for (int i = 0; i < 100; ++i) read += char(t.Read(0x37));
    EXPECT_EQ(read, typed);
}

// Reads interleaved with typing, across the points where read bytes are dropped in bulk.
TEST(TerminalLink, TypingWhileReadingKeepsEveryByteInOrder) {
    TLink t;
    std::string typed, read;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 300; ++i) typed += char('A' + (round * 300 + i) % 26);
        t.Type(typed.substr(typed.size() - 300));
        for (int i = 0; i < 250; ++i) read += char(t.Read(0x37));
    }
    while (t.Read(0x36) == 1 && read.size() < typed.size()) read += char(t.Read(0x37));
    EXPECT_EQ(read, typed);
}

TEST(TerminalLink, EveryByteValueArrivesAsTyped) {
    TLink t;
    std::string typed, read;
    for (int byte = 0; byte < 256; ++byte) typed += char(byte);
    t.Type(typed);
    while (t.Read(0x36) == 1 && read.size() < typed.size()) read += char(t.Read(0x37));
    EXPECT_EQ(read, typed);
}

TEST(TerminalLink, ReadWaitsUntilAKeyArrives) {
    TLink t;
    TMachine& m = *t.Machine;
    int waits = 0;
    t.Panel.OnWaitForEvents = [&] {
        EXPECT_TRUE(m.WaitingForInput);
        EXPECT_EQ(m.Panel.InputConsoleColour, kLime);
        if (++waits == 3) t.Type("x");
    };
    EXPECT_EQ(t.Read(0x37), 'x');
    EXPECT_EQ(waits, 3);
    EXPECT_FALSE(m.WaitingForInput);
    EXPECT_EQ(m.Panel.InputConsoleColour, kWhite);
}

// Stop ends the wait without a byte: the read gives up, and a key typed later is the next
// byte the program reads.
TEST(TerminalLink, StoppingTheRunAbandonsTheRead) {
    TLink t;
    TMachine& m = *t.Machine;
    m.Panel.RunningLed = {{true, ""}, true, kLime, kRed};
    t.Panel.OnWaitForEvents = [&] {
        t.Panel.Changes.clear();
        m.RunClick();
    };
    EXPECT_THROW(t.Read(0x37), TReadAbandoned);
    EXPECT_FALSE(m.Panel.RunningLed.Lit);
    EXPECT_FALSE(m.WaitingForInput);
    EXPECT_EQ(m.Panel.InputConsoleColour, kWhite);
    EXPECT_THAT(t.Panel.Changes, ::testing::Contains(TPanelItem::TypedInput));
    t.Type("B");
    EXPECT_EQ(t.Read(0x37), 'B');
}

TEST(TerminalLink, EscapeSequences) {
    TLink t;
    TMachine& m = *t.Machine;
    t.Write(0x37, {'a', 'b', 'c'});
    t.Write(0x37, {7, 4, 10, 5});
    EXPECT_EQ(m.Screen.CursorX(), 10);
    EXPECT_EQ(m.Screen.CursorY(), 5);
    t.Write(0x37, {7, 4, 200, 0});
    EXPECT_EQ(m.Screen.CursorX(), 80) << "clamped";
    EXPECT_EQ(m.Screen.CursorY(), 1);
    t.Write(0x37, {7, 9, 'Z'});
    EXPECT_EQ(t.Row(1).substr(0, 3), "abc");
    EXPECT_EQ(t.Row(1)[79], 'Z') << "7,9 is swallowed whole";
    t.Write(0x37, {7, 5});
    EXPECT_FALSE(m.Screen.Cursor);
    t.Write(0x37, {7, 6});
    EXPECT_TRUE(m.Screen.Cursor);
    t.Write(0x37, {7, 3});
    EXPECT_EQ(t.Panel.HardCopies.size(), 1u);
    t.Write(0x37, {7, 0});
    EXPECT_EQ(t.Row(1).substr(0, 3), "   ");
    EXPECT_EQ(t.Panel.Beeps, 0) << "byte 7 starts a sequence, never a bell";
}

TEST(TerminalLink, ClearToEndOfLineAndScreen) {
    TLink t;
    t.Write(0x37, {'a', 'b', 'c', 'd', '\n', '\r', 'e', 'f'});
    t.Write(0x37, {7, 4, 3, 1, 7, 1});
    EXPECT_EQ(t.Row(1).substr(0, 4), "ab  ");
    EXPECT_EQ(t.Row(2).substr(0, 2), "ef");
    t.Write(0x37, {7, 4, 1, 1, 7, 2});
    EXPECT_EQ(t.Row(2).substr(0, 2), "  ");
}

TEST(TerminalLink, TerminalMenuOperations) {
    TLink t;
    TMachine& m = *t.Machine;
    t.Type("typed");
    m.ClearInputBufferClick();
    EXPECT_EQ(m.InputBuffer.Text(), "");
    t.Write(0x37, {'h', 'i'});
    m.HardCopyClick();
    ASSERT_EQ(t.Panel.HardCopies.size(), 1u);
    EXPECT_EQ(t.Panel.HardCopies[0].size(), 24u);
    EXPECT_EQ(t.Panel.HardCopies[0][0], "hi" + std::string(78, ' '));
    m.BringtoFrontMenuClick();
    EXPECT_TRUE(m.Panel.ConsoleInFront);
    EXPECT_EQ(m.Panel.BringtoFrontCaption, "Send To &Back");
    m.BringtoFrontMenuClick();
    EXPECT_FALSE(m.Panel.ConsoleInFront);
    EXPECT_EQ(m.Panel.BringtoFrontCaption, "Bring To &Front");
    m.ConsoleClick();
    EXPECT_GE(t.Panel.Focuses, 1);
}

// The pause panel lies over the ports: a terminal in front goes back and cannot be brought
// forward until the pause ends, then returns; one at the back stays there.
TEST(TerminalLink, PausesSendATerminalInFrontBack) {
    struct Case {
        const char* name;
        void (*access)(TLink&);
    } accesses[] = {{"port read", [](TLink& t) { t.Read(0x00); }},
                    {"A/D sample", [](TLink& t) { t.Machine->DoAdSample(); }}};
    for (const Case& c : accesses) {
        for (const bool inFront : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (inFront ? ", terminal in front" : ", at the back"));
            TLink t;
            TMachine& m = *t.Machine;
            m.Panel.IOOperationsMenu.Checked = true;
            if (inFront) m.BringtoFrontMenuClick();
            t.Panel.Changes.clear();
            bool seenInFront = true, menuEnabled = true, panelShown = false, viewTold = false;
            t.Panel.OnIoPause = [&] {
                seenInFront = m.Panel.ConsoleInFront;
                menuEnabled = m.Panel.BringtoFrontMenu.Enabled;
                panelShown = m.Panel.IoPanel.Visible;
                viewTold = std::count(t.Panel.Changes.begin(), t.Panel.Changes.end(), TPanelItem::TerminalStacking) > 0;
                if (inFront) m.BringtoFrontMenuClick();  // refused while the panel is shown
            };
            c.access(t);
            EXPECT_EQ(t.Panel.IoPauses, 1);
            EXPECT_FALSE(seenInFront);
            EXPECT_EQ(menuEnabled, !inFront);
            EXPECT_TRUE(panelShown);
            EXPECT_EQ(viewTold, inFront) << "the view restacks the terminal";
            EXPECT_FALSE(m.Panel.IoPanel.Visible);
            EXPECT_EQ(m.Panel.ConsoleInFront, inFront);
            EXPECT_TRUE(m.Panel.BringtoFrontMenu.Enabled);
            EXPECT_EQ(m.Panel.BringtoFrontCaption, inFront ? "Send To &Back" : "Bring to &Front");
        }
    }
}

// Whatever changes the screen, the typed-ahead input or the terminal's place tells the view
// just that: printing repaints the screen alone, not the input box, the stacking or the menus.
TEST(TerminalLink, EveryTerminalChangeIsRepainted) {
    using enum TPanelItem;
    struct Case {
        const char* name;
        void (*act)(TLink&);
        std::set<TPanelItem> told;
    } cases[] = {
        {"key", [](TLink& t) { t.Type("k"); }, {TypedInput}},
        {"data read", [](TLink& t) { t.Read(0x37); }, {TypedInput}},
        {"output", [](TLink& t) { t.Write(0x37, {'x'}); }, {TerminalScreen}},
        {"escape command", [](TLink& t) { t.Write(0x37, {7, 0}); }, {TerminalScreen}},
        {"clear screen", [](TLink& t) { t.Machine->ClrScr(); }, {TerminalScreen}},
        {"clear input", [](TLink& t) { t.Machine->ClearInputBufferClick(); }, {TypedInput}},
        {"bring to front", [](TLink& t) { t.Machine->BringtoFrontMenuClick(); }, {TerminalStacking, Menus}},
        {"reset", [](TLink& t) { t.Machine->ResetMoor(ExternalReset); }, {TerminalScreen, TypedInput}},
    };
    for (const Case& c : cases) {
        TLink t;
        t.Type("a");
        t.Panel.Changes.clear();
        c.act(t);
        std::set<TPanelItem> told;
        for (TPanelItem item : t.Panel.Changes)
            if (item == TerminalScreen || item == TypedInput || item == TerminalStacking || item == Menus)
                told.insert(item);
        EXPECT_EQ(told, c.told) << c.name;
    }
}

class InputFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path_.c_str()); }
    void Open(const std::string& text) {
        std::ofstream(path_, std::ios::binary) << text;
        t.Panel.FileName = path_;
        t.Machine->InputFileMenuClick();
    }
    std::string ReadLine() {
        std::string line;
        for (char c = 0; c != '\r';) line += (c = char(t.Read(0x37)));
        return line;
    }
    TLink t;
    std::string path_ = TempPath("hexmoor_input.bas");
};

TEST_F(InputFile, LinesEndInACrAndThenTheKeyboardWorksAgain) {
    t.Type("typed before");
    Open("10 PRINT \"HI\"\r\n20 END\n");
    EXPECT_TRUE(t.Machine->InputFileOpen);
    t.Type("ignored");
    EXPECT_EQ(ReadLine(), "10 PRINT \"HI\"\r");
    EXPECT_EQ(ReadLine(), "20 END\r");
    t.Panel.OnWaitForEvents = [this] { t.Type("k"); };
    EXPECT_EQ(t.Read(0x37), 'k');
    EXPECT_FALSE(t.Machine->InputFileOpen);
}

// The next line is typed when the program polls in a wait loop: the third empty status
// read from the same place with the same registers finds it.
TEST_F(InputFile, AWaitLoopGetsTheNextLine) {
    Open("A\nB\n");
    EXPECT_EQ(ReadLine(), "A\r");
    EXPECT_EQ(t.Read(0x36), 0);
    EXPECT_EQ(t.Read(0x36), 0);
    EXPECT_EQ(t.Read(0x36), 1) << "the second line is input waiting";
    EXPECT_EQ(ReadLine(), "B\r");
    for (int poll = 0; poll < 3; ++poll) EXPECT_EQ(t.Read(0x36), 0);
    EXPECT_FALSE(t.Machine->InputFileOpen) << "closed at its end";
}

TEST_F(InputFile, LongLinesAreKeptWhole) {
    const std::string line(300, 'L');
    Open(line + "\n");
    EXPECT_EQ(ReadLine(), line + "\r");
}

TEST_F(InputFile, AnEmptyFileIsClosedAgain) {
    Open("");
    EXPECT_FALSE(t.Machine->InputFileOpen);
    EXPECT_TRUE(t.Panel.Messages.empty());
}

TEST_F(InputFile, ReopeningAsksFirstAndResetCloses) {
    Open("A\n");
    t.Panel.Answers = {TMessageResult::No};
    t.Machine->InputFileMenuClick();
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{path_ + " is open\rOK to close it?"});
    EXPECT_TRUE(t.Machine->InputFileOpen);
    EXPECT_EQ(t.Panel.FileQuestions.size(), 1u) << "No keeps the file and asks for none";
    EXPECT_EQ(ReadLine(), "A\r");
    t.Panel.Answers = {TMessageResult::Yes};
    t.Machine->InputFileMenuClick();
    EXPECT_EQ(t.Panel.FileQuestions.size(), 2u) << "Yes closes it and asks for the next";
    EXPECT_EQ(ReadLine(), "A\r") << "read again from its start";
    EXPECT_TRUE(t.Machine->InputFileOpen);
    t.Machine->ResetMoor(ExternalReset);
    EXPECT_FALSE(t.Machine->InputFileOpen);
    EXPECT_EQ(t.Machine->InputBuffer.Text(), "");
}

// A directory, or a device that never ends a line, is reported naming the file and why;
// nothing of it is fed, and typing works on.
TEST_F(InputFile, FilesThatAreNoTextAreReportedAndFeedNothing) {
    struct Case {
        std::string path, reason;
    } cases[] = {{::testing::TempDir(), "Is a directory"},
                 {"/dev/zero", "line 1 is longer than 65536 characters"},
                 {"/proc/self/mem", "Input/output error"}};  // reading address 0 fails
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TLink link;
        link.Type("typed");
        link.Panel.FileName = c.path;
        link.Machine->InputFileMenuClick();
        ASSERT_EQ(link.Panel.Messages.size(), 1u);
        EXPECT_EQ(link.Panel.Messages[0].Text, "Cannot read the input file " + c.path + ": " + c.reason);
        EXPECT_FALSE(link.Machine->InputFileOpen);
        EXPECT_EQ(link.Machine->InputBuffer.Text(), "typed");
    }
}

TEST_F(InputFile, ALineTooLongLaterIsReportedAndClosesTheFile) {
    Open("short\n" + std::string(70000, 'x') + "\nnever\n");
    EXPECT_EQ(ReadLine(), "short\r");
    t.Panel.OnWaitForEvents = [this] { t.Type("k"); };
    EXPECT_EQ(t.Read(0x37), 'k') << "the keyboard takes over";
    EXPECT_FALSE(t.Machine->InputFileOpen);
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"Cannot read the input file " + path_ +
                                                               ": line 2 is longer than 65536 characters"});
}

TEST_F(InputFile, AFileThatCannotBeReadIsNamed) {
    t.Panel.FileName = "/nonexistent/program.bas";
    t.Machine->InputFileMenuClick();
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_THAT(t.Panel.Messages[0].Text, ::testing::HasSubstr("/nonexistent/program.bas"));
    EXPECT_FALSE(t.Machine->InputFileOpen);
}

TEST(Printer, BytesGoToThePrinterUntilClosed) {
    TLink t;
    TMachine& m = *t.Machine;
    t.Write(0x40, {'H', 'i', '\r'});
    EXPECT_EQ(t.Panel.Printed, "Hi\r");
    EXPECT_TRUE(m.PrinterOpen);
    EXPECT_TRUE(m.Panel.CloseMenu.Enabled);
    m.CloseMenuClick();
    EXPECT_FALSE(m.PrinterOpen);
    EXPECT_FALSE(m.Panel.CloseMenu.Enabled);
    EXPECT_EQ(t.Panel.PrinterCloses, 1);
    t.Write(0x40, {'!'});
    EXPECT_TRUE(m.PrinterOpen) << "the next byte opens a new job";
}

// A failing printer is reported once; the bytes it could not take are counted, and Close
// (still enabled, and not undone by a reset) says how many were lost.
TEST(Printer, AFailingPrinterIsReportedOnceAndItsLostBytesCounted) {
    TLink t;
    TMachine& m = *t.Machine;
    t.Write(0x40, {'o', 'k'});
    t.Panel.PrinterError = "No space left on device";
    t.Write(0x40, {'a', 'b', 'c'});
    m.ResetMoor(ExternalReset);
    t.Panel.Messages.clear();
    t.Panel.PrinterError.clear();
    t.Write(0x40, {'d', 'e'});
    EXPECT_EQ(t.Panel.Printed, "ok") << "nothing reaches the printer after it failed";
    EXPECT_TRUE(t.Panel.Messages.empty()) << "the failure was reported once";
    EXPECT_TRUE(m.Panel.CloseMenu.Enabled);
    m.CloseMenuClick();
    EXPECT_EQ(t.Panel.PrinterCloses, 1);
    EXPECT_FALSE(m.Panel.CloseMenu.Enabled);
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"5 bytes could not be printed."});
    t.Write(0x40, {'!'});
    EXPECT_EQ(t.Panel.Printed, "ok!") << "a new job prints again";
    m.CloseMenuClick();
    EXPECT_EQ(t.Panel.Messages.size(), 1u) << "a job that printed whole closes silently";
}

TEST(Printer, TheFailureNamesItsCause) {
    TLink t;
    t.Panel.PrinterError = "No space left on device";
    t.Write(0x40, {'a'});
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_THAT(t.Panel.Messages[0].Text, ::testing::HasSubstr("No space left on device"));
    t.Machine->CloseMenuClick();
    EXPECT_EQ(t.Panel.Messages.back().Text, "1 byte could not be printed.");
}

}  // namespace
}  // namespace hexmoor::testing
