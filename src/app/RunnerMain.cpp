// main() of hexmoor-run.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/HeadlessRunner.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const hexmoor::TParsedArguments parsed = hexmoor::ParseRunnerArguments(arguments);
    if (!parsed.Error.empty()) {
        std::fprintf(stderr, "%s\n", parsed.Error.c_str());
        return hexmoor::kExitArguments;
    }
    if (!parsed.Options) {
        // Help that cannot be written (a full disk) is not a success.
        if (std::fputs(parsed.Output.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "hexmoor-run: cannot write to standard output: %s\n", std::strerror(errno));
            return hexmoor::kExitFile;
        }
        return 0;
    }
    return hexmoor::RunHeadless(*parsed.Options);
}
