// hexmoor [PROGRAM.s19]: the desktop simulator. A program named here is loaded after the
// power-on reset, as if chosen in the load dialog.
#include <QApplication>
#include <QFontDatabase>

#include <cstdio>
#include <cstring>

#include "panel/FormStyle.h"
#include "panel/HexmoorForm.h"

namespace {

constexpr const char* kUsage =
    "usage: hexmoor [PROGRAM.s19]\n"
    "\n"
    "The 68HC11F1 board simulator's front panel. PROGRAM.s19, when given, is loaded\n"
    "after the power-on reset, as if chosen with File > Load S19 File.\n"
    "A program file dropped on the window loads the same way.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> program;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("hexmoor %s\n", HEXMOOR_VERSION);
            return 0;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "hexmoor: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
        if (program) {
            std::fprintf(stderr, "hexmoor: only one program can be loaded\n%s", kUsage);
            return 2;
        }
        program = argv[i];
    }

    QApplication application(argc, argv);
    application.setApplicationName("68HC11F1 Virtual Machine");
    application.setStyle("Fusion");
    application.setFont(hexmoor::SansFont());
    hexmoor::THexmoorForm form;
    if (program) form.LoadAtStart(*program);
    form.show();
    return application.exec();
}
