// Loading programs through the Load control: the images, the messages, the panel.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "core/Hex.h"
#include "registers/RegisterMap.h"
#include "support/TestMachine.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class Loader : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path_.c_str()); }

    // Writes an S19 text to a file and loads it through the Load control.
    void Load(const std::string& text) {
        std::ofstream(path_, std::ios::binary) << text;
        t.Panel.FileName = path_;
        t.Machine->LoadClick();
    }

    TTestMachine t;
    std::string path_ = TempPath("hexmoor_loader_test.s19");
};

TEST_F(Loader, BytesGoToBothImagesAndTheMachineWaitsForAReset) {
    Load("S1062000860A3316\nS105FFFE2000DD\nS9032000DC\n");
    const TMachine& m = *t.Machine;
    EXPECT_EQ(m.MemoryImage[0x2001], 0x0A);
    EXPECT_EQ(m.ExternalImage[0x2002], 0x33);
    EXPECT_TRUE(m.ResetRequest);
    EXPECT_EQ(m.InstructionCycles, 0);
    EXPECT_TRUE(t.Panel.Messages.empty());
    ASSERT_EQ(t.Panel.FileQuestions.size(), 1u);
    EXPECT_EQ(t.Panel.FileQuestions[0].Title, "Load S19 File");
    EXPECT_EQ(t.Panel.FileQuestions[0].Filter, "S19 Files (*.s19)|*.s19|ELF Files (*.elf)|*.elf|Assembly Source (*.asm;*.a11;*.s11)|*.asm;*.a11;*.s11|All  (*.*)|*.*");
    EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, "FFFF") << "the last byte written";
    EXPECT_EQ(m.Panel.MemoryByteDisplay.Text, "00");

    const TPanelState& p = m.Panel;
    EXPECT_TRUE(p.LoadedLed.Lit);
    EXPECT_EQ(p.LoadedLed.Hint, " Click to Load Another Program ");
    EXPECT_TRUE(p.RunningLed.Enabled && p.StepLed.Enabled && p.StartMenu.Enabled);
    EXPECT_EQ(p.RunningLed.Hint, " Click to Run the Program \r     (Without Trace)      ");
    EXPECT_EQ(p.StepLed.Hint, " Click to Execute One Instruction ");
    EXPECT_EQ(p.StepLed.UnlitColour, kRed);
}

TEST_F(Loader, OnChipRamIsClearedAndWhatLiesBeneathIsKept) {
    TMachine& m = *t.Machine;
    m.MemoryImage[0x0000] = m.MemoryImage[0x03FF] = 0x99;  // the old program's RAM
    m.MemoryImage[0x0400] = 0x77;                            // memory past it
    m.SavedRam[5] = 0x99;
    m.RegisterBlock.fill(0xAA);
    Load("S1040100AA50\n");
    EXPECT_EQ(m.MemoryImage[0x0000], 0x00);
    EXPECT_EQ(m.MemoryImage[0x03FF], 0x00);
    EXPECT_EQ(m.MemoryImage[0x0400], 0x77);
    EXPECT_EQ(m.MemoryImage[0x0100], 0x00);
    EXPECT_EQ(m.ExternalImage[0x0100], 0xAA);
    EXPECT_EQ(m.SavedRam[5], 0x00);
    for (std::size_t offset = 0; offset < m.RegisterBlock.size(); ++offset)
        EXPECT_EQ(m.RegisterBlock[offset], kRegisterMap[offset].Reset) << "the register image is back at " << offset;
    EXPECT_EQ(m.EepromImage[0], 0xFF);
}

TEST_F(Loader, LoadingWhileTheRamIsElsewhereLeaksNothing) {
    TMachine& m = *t.Machine;
    m.RelocateWindows(0x1000, 0x3000);
    m.MemoryImage[0x3010] = 0x99;  // the old program's RAM, now at $3000
    Load("S1040010AA41\nS1043010BB00\n");
    EXPECT_EQ(m.MemoryImage[0x3010], 0x00) << "the on-chip RAM is cleared where it is";
    EXPECT_EQ(m.ExternalImage[0x3010], 0xBB);
    m.ResetMoor(ExternalReset);
    EXPECT_EQ(m.MemoryImage[0x0010], 0x00) << "a cleared RAM at $0000";
    EXPECT_EQ(m.ExternalImage[0x0010], 0xAA) << "the loaded byte waits beneath it";
    EXPECT_EQ(m.MemoryImage[0x3010], 0xBB) << "and the one loaded at $3010 is in memory";
}

// Each line between two intact records at $2000 and $2020: a damaged one is reported, none
// of its bytes is stored, OK goes on to the next line, and Run and Step stay disabled; an
// intact one (a header, lower-case digits, blanks, a byte-order mark) loads a runnable program.
TEST_F(Loader, DamagedRecordsAreReportedAndNeverStored) {
    const auto around = [](const std::string& line) { return "S1042000AA31\n" + line + "\nS1042020DDDE\n"; };
    struct Case {
        const char* name;
        std::string text;
        std::string message;  // "" for none
        bool stored;          // BB CC at $2010
    } cases[] = {
        {"checksum wrong", around("S1052010BBCC44"), "S Record checksum does not match its bytes", false},
        {"digit missing in the middle", around("S1052010BCC43"), "S Record shorter than its byte count", false},
        {"count beyond the line", around("S1062010BBCC43"), "S Record shorter than its byte count", false},
        {"count short of the line", around("S1042010BBCC43"), "S Record longer than its byte count", false},
        {"count without room for an address", around("S1022010CD"),
         "S Record byte count too small for an address and a checksum", false},
        {"not hex", around("S1052010BBxC43"), "Not Hex", false},
        {"not a record", around("XYZ"), "Not an S Record", false},
        {"24-bit address record", around("S206002010BBCC42"), "Unknown S Record", false},
        {"damaged end record", around("S9032000DD"), "S Record checksum does not match its bytes", false},
        {"header record", around("S00600004844521B"), "Unknown S Record", false},
        {"lower-case digits", around("S1052010bbcc43"), "", true},
        {"blank lines and trailing blanks", around(" \n\nS1052010BBCC43 \t"), "", true},
        {"byte-order mark", "\xEF\xBB\xBF" + around("S1052010BBCC43"), "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine fresh;
        std::ofstream(path_, std::ios::binary) << c.text;
        fresh.Panel.FileName = path_;
        fresh.Machine->LoadClick();
        const TMachine& m = *fresh.Machine;
        EXPECT_EQ(fresh.Panel.MessageTexts(), c.message.empty() ? std::vector<std::string>{}
                                                                : std::vector<std::string>{c.message});
        for (const TShownMessage& shown : fresh.Panel.Messages) {
            EXPECT_EQ(shown.Kind, TMessageKind::Warning);
            EXPECT_EQ(shown.Buttons, TMessageButtons::OkCancel);
        }
        EXPECT_EQ(m.MemoryImage[0x2000], 0xAA);
        EXPECT_EQ(m.MemoryImage[0x2010], c.stored ? 0xBB : 0x00);
        EXPECT_EQ(m.MemoryImage[0x2011], c.stored ? 0xCC : 0x00);
        EXPECT_EQ(m.MemoryImage[0x2020], 0xDD) << "the load goes on after OK";
        const bool whole = c.stored || c.name == std::string("header record");
        EXPECT_EQ(m.Panel.RunningLed.Enabled, whole);
        EXPECT_EQ(m.Panel.StepLed.Enabled, whole);
        EXPECT_EQ(m.Panel.StartMenu.Enabled, whole);
    }
}

// Cancel ends the load at the damaged record. With bytes stored before it, the partial
// program's machine cannot run; with none, the machine is as it was.
TEST_F(Loader, CancelEndsTheLoad) {
    struct Case {
        const char* name;
        std::string text;
        bool partial;
    } cases[] = {
        {"after a stored record", "S1042000AA31\nS1052010BBCC44\nS1042020DDDE\n", true},
        {"at the first record", "S1052010BBCC44\nS1042020DDDE\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine fresh;
        TMachine& m = *fresh.Machine;
        m.MemoryImage[0x0100] = 0x99;  // the old program's RAM
        m.Panel.MemoryAddressDisplay.Text = "1234";
        fresh.Panel.Answers = {TMessageResult::Cancel};
        std::ofstream(path_, std::ios::binary) << c.text;
        fresh.Panel.FileName = path_;
        m.LoadClick();
        EXPECT_EQ(fresh.Panel.Messages.size(), 1u);
        EXPECT_EQ(m.MemoryImage[0x2000], c.partial ? 0xAA : 0x00);
        EXPECT_EQ(m.MemoryImage[0x2020], 0x00) << "nothing after the cancelled line";
        EXPECT_EQ(m.MemoryImage[0x0100], c.partial ? 0x00 : 0x99);
        EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, c.partial ? "2000" : "1234");
        EXPECT_EQ(m.Panel.RunningLed.Enabled, !c.partial);
        EXPECT_TRUE(m.ResetRequest);
    }
}

// A file without a data record says so and leaves the machine as the last program left
// it: memory, registers, EEPROM and the read-outs.
TEST_F(Loader, AFileWithoutDataChangesNothing) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> messages;
    } cases[] = {
        {"empty file", "", {"Cannot load " + path_ + ": no S1 record with data"}},
        {"header and end only", "S00600004844521B\nS9032000DC\n",
         {"Unknown S Record", "Cannot load " + path_ + ": no S1 record with data"}},
        {"text", "notes\n", {"Not an S Record"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine fresh;
        TMachine& m = *fresh.Machine;
        std::ofstream(path_, std::ios::binary) << "S1042000AA31\n";
        fresh.Panel.FileName = path_;
        m.LoadClick();
        m.MemoryImage[0x0010] = 0x42;
        m.EepromImage[0x10] = 0x42;
        m.RegisterBlock[0x3D] = 0x42;
        fresh.Panel.Messages.clear();
        std::ofstream(path_, std::ios::binary) << c.text;
        m.LoadClick();
        EXPECT_EQ(fresh.Panel.MessageTexts(), c.messages);
        EXPECT_EQ(m.MemoryImage[0x0010], 0x42);
        EXPECT_EQ(m.EepromImage[0x10], 0x42);
        EXPECT_EQ(m.RegisterBlock[0x3D], 0x42);
        EXPECT_EQ(m.MemoryImage[0x2000], 0xAA);
        EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, "2000") << "not LOAD";
        EXPECT_TRUE(m.Panel.RunningLed.Enabled) << "the program loaded before still runs";
    }
}

TEST_F(Loader, AFileThatCannotBeReadIsNamedAndThePanelStaysUsable) {
    t.Panel.FileName = "/nonexistent/program.s19";
    t.Machine->LoadClick();
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_THAT(t.Panel.Messages[0].Text, HasSubstr("/nonexistent/program.s19"));
    EXPECT_THAT(t.Panel.Messages[0].Text, HasSubstr("No such file"));
    EXPECT_TRUE(t.Machine->Panel.LoadMenu.Enabled);
    EXPECT_TRUE(t.Machine->Panel.RunningLed.Enabled);
}

// A directory, or a device without line ends, is reported naming the file and why, and
// changes nothing; a file that fails after some records were stored leaves Run and Step
// disabled, so half a program is never run.
TEST_F(Loader, FilesThatCannotBeReadWholeAreReported) {
    struct Case {
        std::string path, text, reason;
        bool runnable;
    } cases[] = {
        {::testing::TempDir(), "", "Is a directory", true},
        {"/dev/zero", "", "line 1 is longer than 65536 characters", true},
        {"/proc/self/mem", "", "Input/output error", true},  // reading address 0 fails
        {path_, "S1042000AA31\n" + std::string(70000, '0') + "\nS1042001BB1F\n",
         "line 2 is longer than 65536 characters", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TTestMachine fresh;
        TMachine& m = *fresh.Machine;
        m.MemoryImage[0x0100] = 0x99;
        if (!c.text.empty()) std::ofstream(path_, std::ios::binary) << c.text;
        fresh.Panel.FileName = c.path;
        m.LoadClick();
        EXPECT_EQ(fresh.Panel.MessageTexts(), std::vector<std::string>{"Cannot load " + c.path + ": " + c.reason});
        EXPECT_EQ(m.MemoryImage[0x2001], 0x00) << "nothing after the failure";
        EXPECT_EQ(m.MemoryImage[0x0100], c.runnable ? 0x99 : 0x00) << "cleared only after a partial load";
        EXPECT_TRUE(m.Panel.LoadMenu.Enabled && m.Panel.LoadedLed.Enabled);
        EXPECT_EQ(m.Panel.RunningLed.Enabled, c.runnable);
        EXPECT_EQ(m.Panel.StepLed.Enabled, c.runnable);
        EXPECT_EQ(m.Panel.StartMenu.Enabled, c.runnable);
        EXPECT_EQ(m.Panel.StopMenu.Enabled, c.runnable);
        if (!c.runnable) {
            EXPECT_EQ(m.Panel.RunningLed.Hint, " You must Load a Program First ");
        }
    }
}

// The read-outs say LOAD while the file is read; the screen is cleared; the EEPROM a
// program wrote is erased; a second program keeps the first one's other bytes; an S9
// record is no end: records after it still load.
TEST_F(Loader, ASecondProgramOverAFirstOne) {
    TMachine& m = *t.Machine;
    Load("S1052000AABB75\nS1052100CCDD30\n");
    m.EepromImage[0x10] = 0x42;
    m.Screen.WriteChar('Z');
    m.Panel.MemoryByteDisplay.Visible = false;  // as after a word access
    m.Panel.MemoryWordDisplay.Visible = true;
    std::string shownWhileReading;
    t.Panel.OnPump = [&] {
        const TPanelState& p = m.Panel;
        shownWhileReading = p.MemoryAddressDisplay.Text;
        // Nothing that would start a run or a second load works meanwhile.
        EXPECT_FALSE(p.LoadMenu.Enabled || p.StartMenu.Enabled || p.StopMenu.Enabled);
        for (const TLed* led : {&p.RunningLed, &p.StepLed}) {
            EXPECT_FALSE(led->Enabled);
            EXPECT_EQ(led->UnlitColour, kMaroon);
            EXPECT_EQ(led->LitColour, kGreen);
        }
        EXPECT_FALSE(p.LoadedLed.Lit);
        EXPECT_EQ(p.LoadedLed.Hint, " Loading in Progress ");
    };
    Load("S1042001EEEC\nS9030000FC\nS1042101FFDA\n");
    EXPECT_EQ(shownWhileReading, "LOAD");
    EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, "2101");
    EXPECT_EQ(m.Panel.MemoryByteDisplay.Text, "FF");
    EXPECT_TRUE(m.Panel.MemoryByteDisplay.Visible);
    EXPECT_FALSE(m.Panel.MemoryWordDisplay.Visible);
    EXPECT_EQ(m.Screen.RowText(1), std::string(80, ' '));
    EXPECT_EQ(m.EepromImage[0x10], 0xFF);
    EXPECT_EQ(std::vector<uint8_t>(&m.MemoryImage[0x2000], &m.MemoryImage[0x2002]),
              (std::vector<uint8_t>{0xAA, 0xEE}));
    EXPECT_EQ(std::vector<uint8_t>(&m.MemoryImage[0x2100], &m.MemoryImage[0x2102]),
              (std::vector<uint8_t>{0xCC, 0xFF}));
    EXPECT_TRUE(t.Panel.Messages.empty()) << "S9 is no unknown record";
}

TEST_F(Loader, CancelledDialogStillAsksForAReset) {
    t.Panel.FileName.reset();
    t.Machine->LoadClick();
    EXPECT_TRUE(t.Machine->ResetRequest);
    EXPECT_TRUE(t.Machine->Panel.StepLed.Enabled);
}

TEST_F(Loader, TheLoadingOptionShowsEveryByte) {
    std::vector<std::string> shown;
    t.Machine->Panel.LoadingMenu.Checked = true;
    t.Panel.OnPump = [this, &shown] {
        shown.push_back(t.Machine->Panel.MemoryAddressDisplay.Text + "=" +
                        t.Machine->Panel.MemoryByteDisplay.Text);
    };
    Load("S1052000AABB75\n");
    EXPECT_THAT(shown, ElementsAre("2000=AA", "2001=BB", "2001=BB"));
}

TEST_F(Loader, ADisabledLoadControlDoesNothing) {
    t.Machine->Panel.LoadMenu.Enabled = false;
    t.Panel.FileName = path_;
    t.Machine->LoadClick();
    EXPECT_TRUE(t.Panel.FileQuestions.empty());
    EXPECT_FALSE(t.Machine->ResetRequest);
}

}  // namespace
}  // namespace hexmoor::testing
