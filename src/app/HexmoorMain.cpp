// hexmoor [options] [--] [PROGRAM]: the desktop simulator. A program named here is loaded after
// the power-on reset, as if chosen in the load dialog.
#include <QApplication>
#include <QFontDatabase>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Version.h"
#include "panel/ApplicationIdentity.h"
#include "panel/FormStyle.h"
#include "panel/HexmoorForm.h"

namespace {

constexpr const char* kUsage =
    "Usage: hexmoor [options] [--] [PROGRAM.s19|PROGRAM.elf|SOURCE.asm]\n"
    "Opens the 68HC11F1 board simulator's front panel. PROGRAM.s19 (or an ELF executable,\n"
    "or assembly source ending .asm, .a11 or .s11, which is assembled first), when given,\n"
    "is loaded after the power-on reset, as if chosen with File > Load S19 File.\n"
    "A program file dropped on the window loads the same way.\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help\n"
    "  --version   show the version\n"
    "  --          end of the options (for a program whose name starts with -)\n"
    "\n"
    "Exit status: 0 the window was closed, 1 the window cannot be opened (no display),\n"
    "2 bad arguments.\n";

// Qt aborts with a fatal message when it cannot open its platform (no display, say).
// While the application starts, Qt's messages are held back: a failure becomes one line
// and status 1, a start that succeeds lets them out as they were.
QtMessageHandler gQtHandler = nullptr;
QStringList gHeldRaw, gHeldFormatted;

void HoldWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const QString reason = (gHeldRaw.isEmpty() ? message : gHeldRaw.first()).section('\n', 0, 0).trimmed();
        std::fprintf(stderr, "hexmoor: cannot open the window: %s\n", qPrintable(reason));
        std::_Exit(1);
    }
    gHeldRaw << message;
    gHeldFormatted << qFormatLogMessage(type, context, message);
}

void LetMessagesOut() {
    qInstallMessageHandler(gQtHandler);
    for (const QString& line : std::exchange(gHeldFormatted, {})) std::fprintf(stderr, "%s\n", qPrintable(line));
    gHeldRaw.clear();
}

// Help that cannot be written (a full disk) is not a success.
int PrintOut(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "hexmoor: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> program;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (argument == "--help" || argument == "-h")) return PrintOut(kUsage);
        if (!optionsEnded && argument == "--version")
            return PrintOut(std::string("hexmoor ") + hexmoor::kVersion + "\n");
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "hexmoor: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
        if (program) {
            std::fprintf(stderr, "hexmoor: only one program can be loaded\n%s", kUsage);
            return 2;
        }
        program = argument;
    }

    // Qt sees no argument: a program's name is never taken for one of Qt's own options.
    int qtArgc = 1;
    gQtHandler = qInstallMessageHandler(HoldWhileStarting);
    QApplication application(qtArgc, argv);
    LetMessagesOut();
    application.setApplicationName("68HC11F1 Virtual Machine");
    hexmoor::SetApplicationIdentity();
    application.setStyle("Fusion");
    application.setFont(hexmoor::SansFont());
    hexmoor::THexmoorForm form;
    if (program) form.LoadAtStart(*program);
    form.show();
    return application.exec();
}
