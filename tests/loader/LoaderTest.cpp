// Loading programs through the Load control: the images, the messages, the panel.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "support/TestMachine.h"

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
    std::string path_ = ::testing::TempDir() + "hexmoor_loader_test.s19";
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
    m.MemoryImage[0x0100] = 0x99;  // the old program's RAM
    m.SavedRam[5] = 0x99;
    m.RegisterBlock[0x3D] = 0x01;
    Load("S1040100AAFF\n");
    EXPECT_EQ(m.MemoryImage[0x0100], 0x00);
    EXPECT_EQ(m.ExternalImage[0x0100], 0xAA);
    EXPECT_EQ(m.SavedRam[5], 0x00);
    EXPECT_EQ(m.RegisterBlock[0x3D], 0x25) << "the register image is back";
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
