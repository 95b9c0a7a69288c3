// The printer and the hard copy without a printer installed (PDF files, and the user told
// where), and a program file dropped on the window.
#include <gmock/gmock.h>

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPrinterInfo>
#include <QUrl>

#include <fstream>

#include "panel/FormFixture.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;

// Places code that writes `text` to the printer port, one LDAA/STAA pair a byte, and
// steps through it.
void Print(FormTest& t, const std::string& text) {
    TMachine& m = t.M();
    uint16_t at = m.RegisterPC;
    for (char byte : text)
        for (uint8_t code : {uint8_t(0x86), uint8_t(byte), uint8_t(0xB7), uint8_t(0x10), uint8_t(0x40)})
            m.MemoryImage[at++] = code;
    for (std::size_t i = 0; i < 2 * text.size(); ++i) FormTest::Click(t.StepLed());
}

TEST_F(FormTest, PrinterOutputAndHardCopiesBecomePdfFiles) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    struct Case {
        const char* name;
        std::function<void(FormTest&)> act;
        int files;
        std::vector<std::string> told;  // what the messages say, in part
        bool documentOpen = false;
    } cases[] = {
        {"printer output", [](FormTest& t) { Print(t, "AB\r\n"); t.Trigger("CloseMenu"); }, 1,
         {"The printer output went to the file"}},
        {"hard copy", [](FormTest& t) { t.Trigger("HardCopyMenu"); }, 1, {"The hard copy went to the file"}},
        {"hard copy inside the printer's document",
         [](FormTest& t) {
             Print(t, "A");
             t.Trigger("HardCopyMenu");
             Print(t, "B");
             t.Trigger("CloseMenu");
         },
         1, {"The printer output went to the file"}},
        {"nothing printed until closed", [](FormTest& t) { Print(t, "AB"); }, 0, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const QString folder = QString::fromStdString(TempPath(c.name));
        QDir().mkpath(folder);
        form->SetPdfFolder(folder);
        Load("count_up");
        Click(StepLed());  // the reset
        Messages.clear();
        c.act(*this);
        const QFileInfoList files = QDir(folder).entryInfoList({"*.pdf"}, QDir::Files);
        EXPECT_EQ(files.size(), c.files);
        ASSERT_EQ(Messages.size(), c.told.size());
        for (std::size_t i = 0; i < c.told.size(); ++i) {
            EXPECT_THAT(Messages[i], HasSubstr(c.told[i]));
            EXPECT_THAT(Messages[i], HasSubstr(files.value(0).absoluteFilePath().toStdString()));
        }
        for (const QFileInfo& file : files) EXPECT_GT(file.size(), 500);
        EXPECT_EQ(form->MenuAction("CloseMenu")->isEnabled(), c.documentOpen);
    }
}

TEST_F(FormTest, DroppedProgramLoads) {
    const std::string source = TempPath("dropped.asm");
    std::ofstream(source) << "        ORG $2000\n        LDS #$01FF\n        BRA *\n";
    struct Case {
        const char* name;
        QString file;
        bool loads;
    } cases[] = {
        {"an S19 file", QString::fromStdString(ProgramPath("count_up")), true},
        {"an ELF file", QString::fromStdString(ProgramPath("count_up")).replace(".s19", ".elf"), true},
        {"a source file", QString::fromStdString(source), true},
        {"another file", QString::fromStdString(ProgramPath("count_up")).replace(".s19", ".map"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(c.file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        EXPECT_EQ(enter.isAccepted(), c.loads);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        EXPECT_EQ(M().MemoryImage[0x2000] == 0x8E, c.loads);
        EXPECT_EQ(M().Panel.RunningLed.Enabled, c.loads);
    }
}

}  // namespace
}  // namespace hexmoor::testing
