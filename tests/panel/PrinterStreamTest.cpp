// Where printed documents go without a printer installed: the file chosen in the printer
// set-up, else a PDF named for the document in the PDF folder.
#include <gmock/gmock.h>

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#include "panel/PrinterStream.h"
#include "support/FifosAndLinks.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

TEST(PrinterStream, DocumentsGoToTheChosenFileElseToAPdfNamedForThem) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    struct Case {
        const char* name;
        bool chosen;
        bool hardCopy;
    } cases[] = {
        {"printer output to the chosen file", true, false},
        {"hard copy to the chosen file", true, true},
        {"printer output, nothing chosen", false, false},
        {"hard copy, nothing chosen", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = QString::fromStdString(TempPath(std::string("printer ") + c.name));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        TPrinterStream stream;
        stream.SetPdfFolder(folder);
        const QString chosen = folder + "/chosen.pdf";
        if (c.chosen) stream.Printer().setOutputFileName(chosen);  // as the set-up dialog's "print to file"
        TPrintResult result;
        if (c.hardCopy) {
            result = stream.HardCopy({"READY"}).value();
        } else {
            for (char byte : std::string("READY\r\n")) EXPECT_EQ(stream.Write(uint8_t(byte)), "");
            result = stream.Close();
        }
        EXPECT_EQ(result.Error, "");
        const QFileInfoList files = QDir(folder).entryInfoList({"*.pdf"}, QDir::Files);
        ASSERT_EQ(files.size(), 1);
        EXPECT_GT(files[0].size(), 500);
        if (c.chosen) {
            EXPECT_EQ(files[0].absoluteFilePath(), QFileInfo(chosen).absoluteFilePath());
            EXPECT_EQ(result.PdfPath, "") << "the user knows where it went";
        } else {
            EXPECT_EQ(result.PdfPath, files[0].absoluteFilePath());
        }
    }
}

// A chosen file that is a link or a FIFO is printed through, never replaced.
TEST(PrinterStream, TheChosenFileIsWrittenThroughALinkOrAFifo) {
    TPrinterStream stream;
    const auto hardCopyTo = [&](const std::string& path) {
        stream.Printer().setOutputFileName(QString::fromStdString(path));
        EXPECT_EQ(stream.HardCopy({"READY"}).value().Error, "");
    };
    const std::string link = TempPath("printer-link.pdf"), target = MakeLinkToFileElsewhere(link, "printed.pdf");
    hardCopyTo(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_THAT(FileText(target), ::testing::StartsWith("%PDF"));

    const std::string fifo = TempPath("printer-fifo.pdf");
    EXPECT_THAT(ReadFifoDuring(fifo, [&] { hardCopyTo(fifo); }), ::testing::StartsWith("%PDF"));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

}  // namespace
}  // namespace hexmoor::testing
