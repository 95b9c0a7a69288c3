// The printer port's document and the terminal's hard copies: text collected while the
// document is open and printed as one document when it closes. A document goes to the
// file chosen in the printer set-up, else to the printer; without a printer installed it
// becomes a PDF file named for the document, and the caller tells the user where.
#pragma once

#include <QFont>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace hexmoor {

struct TPrintResult {
    QString PdfPath;  // the file named for it for want of a printer; empty otherwise
    QString Error;    // empty when it was printed
};

class TPrinterStream {
public:
    TPrinterStream();
    ~TPrinterStream();

    // The printer used; the printer set-up dialog edits it, and may choose a file.
    QPrinter& Printer() { return *printer_; }
    // The font documents are printed in: the terminal's printer font.
    void SetFont(const QFont& font) { font_ = font; }
    bool IsOpen() const { return open_; }

    // Adds a byte to the document, opening it first. Returns "" or why it cannot print.
    std::string Write(uint8_t byte);
    // A hard copy of the terminal: a page of the open document, else a document of its own.
    // Returns what became of it when it was a document of its own.
    std::optional<TPrintResult> HardCopy(const std::vector<std::string>& rows);
    // Completes the document.
    TPrintResult Close();

    // Where documents go when there is no printer: the user's documents folder, else the
    // working folder, unless one is set.
    QString PdfFolder() const;
    void SetPdfFolder(const QString& folder) { pdfFolder_ = folder; }

private:
    TPrintResult Print(const QString& text, const QString& title);

    std::unique_ptr<QPrinter> printer_;
    QFont font_;
    bool open_ = false;
    QString text_;
    bool lastWasCr_ = false;
    QString pdfFolder_;
};

}  // namespace hexmoor
