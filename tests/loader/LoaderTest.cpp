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
    Load("S1062000860A33FF\nS105FFFE2000DD\nS9032000DC\n");
    const TMachine& m = *t.Machine;
    EXPECT_EQ(m.MemoryImage[0x2001], 0x0A);
    EXPECT_EQ(m.ExternalImage[0x2002], 0x33);
    EXPECT_TRUE(m.ResetRequest);
    EXPECT_EQ(m.InstructionCycles, 0);
    EXPECT_TRUE(t.Panel.Messages.empty());
    ASSERT_EQ(t.Panel.FileQuestions.size(), 1u);
    EXPECT_EQ(t.Panel.FileQuestions[0].Title, "Load S19 File");
    EXPECT_EQ(t.Panel.FileQuestions[0].Filter, "S19 Files (*.s19)|*.s19|All  (*.*)|*.*");
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
    Load("S1040100AAFF\n");
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
    Load("S1040010AAFF\nS1043010BBFF\n");
    EXPECT_EQ(m.MemoryImage[0x3010], 0x00) << "the on-chip RAM is cleared where it is";
    EXPECT_EQ(m.ExternalImage[0x3010], 0xBB);
    m.ResetMoor(ExternalReset);
    EXPECT_EQ(m.MemoryImage[0x0010], 0x00) << "a cleared RAM at $0000";
    EXPECT_EQ(m.ExternalImage[0x0010], 0xAA) << "the loaded byte waits beneath it";
    EXPECT_EQ(m.MemoryImage[0x3010], 0xBB) << "and the one loaded at $3010 is in memory";
}

TEST_F(Loader, BadLinesAreReportedOneByOne) {
    Load("S0030000FC\nS1042000aaFF\nXYZ\nS1042001BBFF\n");
    EXPECT_EQ(t.Panel.MessageTexts(),
              (std::vector<std::string>{"Unknown S Record", "Not Hex", "Not Hex",
                                        "Not an S Record"}));
    EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(t.Panel.Messages[0].Buttons, TMessageButtons::OkCancel);
    EXPECT_EQ(t.Machine->MemoryImage[0x2001], 0xBB);
}

// "Not Hex" comes before anything of its record is stored: OK stores the record with the
// bad digit as 0, Cancel keeps the whole record out, and every later one.
TEST_F(Loader, NotHexIsAskedBeforeTheRecordIsStored) {
    for (const TMessageResult answer : {TMessageResult::Ok, TMessageResult::Cancel}) {
        SCOPED_TRACE(answer == TMessageResult::Ok ? "OK" : "Cancel");
        TTestMachine fresh;
        std::vector<std::string> shownAtTheQuestion;
        fresh.Machine->Panel.LoadingMenu.Checked = true;
        fresh.Panel.Answers = {answer};
        fresh.Panel.OnMessage = [&](const TShownMessage&) {
            const TMachine& m = *fresh.Machine;
            shownAtTheQuestion = {m.Panel.MemoryAddressDisplay.Text, Hex2(m.MemoryImage[0x2010])};
        };
        std::ofstream(path_, std::ios::binary) << "S1042000AAFF\nS1062010BB1xCCFF\nS1042020DDFF\n";
        fresh.Panel.FileName = path_;
        fresh.Machine->LoadClick();
        const TMachine& m = *fresh.Machine;
        EXPECT_EQ(fresh.Panel.MessageTexts(), std::vector<std::string>{"Not Hex"});
        EXPECT_EQ(shownAtTheQuestion, (std::vector<std::string>{"2000", "00"}))
            << "no byte of the bad record is stored or shown yet";
        const bool ok = answer == TMessageResult::Ok;
        EXPECT_EQ(m.MemoryImage[0x2010], ok ? 0xBB : 0x00);
        EXPECT_EQ(m.MemoryImage[0x2011], ok ? 0x10 : 0x00) << "the bad digit counts as 0";
        EXPECT_EQ(m.MemoryImage[0x2012], ok ? 0xCC : 0x00);
        EXPECT_EQ(m.MemoryImage[0x2020], ok ? 0xDD : 0x00);
        EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, ok ? "2020" : "2000");
    }
}

TEST_F(Loader, CancelAbandonsTheRestOfTheFile) {
    t.Panel.Answers = {TMessageResult::Ok, TMessageResult::Cancel};
    Load("S1042000AAFF\nS1042001aaFF\nS1042002CCFF\n");
    EXPECT_EQ(t.Panel.Messages.size(), 2u);
    EXPECT_EQ(t.Machine->MemoryImage[0x2000], 0xAA);
    EXPECT_EQ(t.Machine->MemoryImage[0x2002], 0x00) << "nothing after the cancelled line";
    EXPECT_TRUE(t.Machine->ResetRequest);
    EXPECT_EQ(t.Machine->RegisterBlock[0x3D], 0x25) << "the after-load steps still run";
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
        {path_, "S1042000AAFF\n" + std::string(70000, '0') + "\nS1042001BBFF\n",
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
    Load("S1052000AABBFF\nS1052100CCDDFF\n");
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
    Load("S1042001EEFF\nS9030000FC\nS1042101FFFF\n");
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
    Load("S1052000AABBFF\n");
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
