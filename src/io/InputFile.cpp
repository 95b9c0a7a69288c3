// The input file: a text file fed to the program line by line, each line ending in a CR
// as if typed.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

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

// The first line replaces whatever was typed ahead. An empty file is closed again.
void TMachine::OpenInputFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file) text << file.rdbuf();
    if (!file || file.bad()) {
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot read the input file " + path + ": " + std::strerror(errno));
        return;
    }
    if (text.str().empty()) return;
    InputFileText = text.str();
    InputFilePosition = 0;
    InputFileName = path;
    InputFileOpen = true;
    InputBuffer.clear();
    FeedNextLine();
}

// Lines end in LF, CRLF or CR. At the end of the file it is closed and typing works again.
bool TMachine::FeedNextLine() {
    if (InputFilePosition >= InputFileText.size()) {
        CloseInputFile();
        return false;
    }
    const std::size_t end = InputFileText.find_first_of("\r\n", InputFilePosition);
    const std::size_t stop = end == std::string::npos ? InputFileText.size() : end;
    InputBuffer = InputFileText.substr(InputFilePosition, stop - InputFilePosition) + '\r';
    InputFilePosition = stop;
    if (end != std::string::npos) {
        const bool crlf = InputFileText[end] == '\r' && end + 1 < InputFileText.size() &&
                          InputFileText[end + 1] == '\n';
        InputFilePosition += crlf ? 2 : 1;
    }
    FrontPanel.PanelChanged(TPanelItem::Terminal);
    return true;
}

void TMachine::CloseInputFile() {
    InputFileOpen = false;
    InputFileText.clear();
    InputFilePosition = 0;
    FrontPanel.PanelChanged(TPanelItem::Terminal);
}

}  // namespace hexmoor
