// The input file: a text file fed to the program line by line, each line ending in a CR
// as if typed.
#include "core/Machine.h"

namespace hexmoor {

void TMachine::InputFileMenuClick() {
    if (InputFileOpen) {
        const TMessageResult answer =
            FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::YesNo,
                                   InputFileName + " is open\rOK to close it?");
        if (answer != TMessageResult::Yes) return;
        CloseInputFile();
    }
    const TFileQuestion question{"Open Input File",
                                 "Basic File (*.bas)|*.bas|Text File (*.txt)|*.txt|All Files (*.*)|*.*",
                                 "BAS", "", true};
    if (std::optional<std::string> path = FrontPanel.AskFileName(question)) OpenInputFile(*path);
}

// The first line replaces whatever was typed ahead. An empty file is closed again; a file
// that cannot be read is reported and feeds nothing.
bool TMachine::OpenInputFile(const std::string& path) {
    TTextLineReader file;
    std::string line;
    if (!file.Open(path) || (!file.ReadLine(line) && !file.Error().empty())) {
        ReportInputFileError(path, file.Error());
        return false;
    }
    if (file.LineNumber() == 0) return true;  // empty
    InputFile = std::move(file);
    InputFileName = path;
    InputFileOpen = true;
    InputBuffer.Assign(line + '\r');
    InputArrived();
    return true;
}

// At the end of the file, or when it fails, it is closed and typing works again.
bool TMachine::FeedNextLine() {
    std::string line;
    if (!InputFile.ReadLine(line)) {
        const std::string error = InputFile.Error();
        CloseInputFile();
        if (!error.empty()) ReportInputFileError(InputFileName, error);
        return false;
    }
    InputBuffer.Assign(line + '\r');
    InputArrived();
    return true;
}

void TMachine::ReportInputFileError(const std::string& path, const std::string& reason) {
    FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                           "Cannot read the input file " + path + ": " + reason);
}

void TMachine::CloseInputFile() {
    InputFileOpen = false;
    InputFile.Close();
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
}

}  // namespace hexmoor
