#include "panel/PrinterStream.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "core/OutputFile.h"
#include "panel/widgets/Lumocrt.h"

namespace hexmoor {

namespace {

constexpr char16_t kFormFeed = 0x0C;

bool NoPrinter() { return QPrinterInfo::availablePrinters().isEmpty(); }

// Lines of `text` top to bottom, a new page where a page is full and at each form feed.
void PrintPages(QPainter& painter, QPagedPaintDevice& printer, const QFont& font, const QString& text) {
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int y = metrics.ascent();
    const QStringList pages = text.split(QChar(kFormFeed));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && pages[i].isEmpty() && i == pages.size() - 1) break;  // a feed at the end
        if (i > 0 && y > metrics.ascent()) {
            printer.newPage();
            y = metrics.ascent();
        }
        for (const QString& line : pages[i].split('\n')) {
            if (y > pageHeight) {
                printer.newPage();
                y = metrics.ascent();
            }
            painter.drawText(0, y, line);
            y += lineHeight;
        }
    }
}

}  // namespace

TPrinterStream::TPrinterStream() : printer_(std::make_unique<QPrinter>()) {}
TPrinterStream::~TPrinterStream() = default;

QString TPrinterStream::PdfFolder() const {
    if (!pdfFolder_.isEmpty()) return pdfFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::currentPath();
}

// A line ends at CR, LF or CR LF; a form feed starts a new page; other control bytes
// print nothing.
std::string TPrinterStream::Write(uint8_t byte) {
    const bool toPdfFolder = printer_->outputFileName().isEmpty() && NoPrinter();
    if (!open_ && toPdfFolder && !QFileInfo(PdfFolder()).isWritable())
        return QString("no printer, and %1 cannot be written").arg(PdfFolder()).toStdString();
    open_ = true;
    const bool lf = byte == '\n';
    if (lf && lastWasCr_) {
        lastWasCr_ = false;
        return "";
    }
    lastWasCr_ = byte == '\r';
    if (lf || byte == '\r') text_ += '\n';
    else if (byte == kFormFeed) text_ += QChar(kFormFeed);
    else if (byte >= 0x20) text_ += FromWindows1252(byte);
    return "";
}

std::optional<TPrintResult> TPrinterStream::HardCopy(const std::vector<std::string>& rows) {
    QString page;
    for (const std::string& row : rows) {
        for (char byte : row) page += FromWindows1252(uint8_t(byte));
        page += '\n';
    }
    if (open_) {
        if (!text_.isEmpty() && !text_.endsWith(QChar(kFormFeed))) text_ += QChar(kFormFeed);
        text_ += page + QChar(kFormFeed);
        return std::nullopt;
    }
    return Print(page, QApplication::applicationName() + " - Print Screen");
}

TPrintResult TPrinterStream::Close() {
    const QString text = std::exchange(text_, QString());
    open_ = false;
    lastWasCr_ = false;
    return Print(text, QApplication::applicationName() + " - Printer");
}

// A document for a file is drawn as PDF in memory and written through the shared output
// writer, so a link stays a link, a FIFO is written to and a failed print leaves no half
// file. The page set-up the user chose carries over.
TPrintResult TPrinterStream::Print(const QString& text, const QString& title) {
    TPrintResult result;
    QPrinter& printer = *printer_;
    printer.setDocName(title);
    QString file = printer.outputFileName();
    if (file.isEmpty() && NoPrinter())
        file = result.PdfPath = QDir(PdfFolder()).filePath(
            title + QDateTime::currentDateTime().toString(" yyyy-MM-dd hh.mm.ss.zzz") + ".pdf");
    if (file.isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        QPainter painter;
        if (!painter.begin(&printer)) {
            result.Error = "the printer cannot be opened";
            return result;
        }
        PrintPages(painter, printer, font_, text);
        painter.end();
        return result;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(title);
        writer.setCreator(QApplication::applicationName());
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        QPainter painter(&writer);
        PrintPages(painter, writer, font_, text);
    }
    const std::string error = WriteOutputFile(file.toStdString(), std::string_view(pdf.data().constData(), pdf.size()));
    if (!error.empty()) result.Error = file + ": " + QString::fromStdString(error);
    return result;
}

}  // namespace hexmoor
