// main() of hexmoor-run.
#include <cstdio>

#include "app/HeadlessRunner.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const hexmoor::TParsedArguments parsed = hexmoor::ParseRunnerArguments(arguments);
    if (!parsed.Error.empty()) {
        std::fprintf(stderr, "%s\n", parsed.Error.c_str());
        return hexmoor::kExitArguments;
    }
    if (!parsed.Options) {
        std::fputs(parsed.Output.c_str(), stdout);
        return 0;
    }
    return hexmoor::RunHeadless(*parsed.Options);
}
