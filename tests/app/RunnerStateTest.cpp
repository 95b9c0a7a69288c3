// hexmoor-run --save-state and --load-state: a run cut in two by a saved state ends as one
// run does, and a state file that is not whole is refused before anything runs.
#include <gmock/gmock.h>

#include <cstdlib>
#include <fstream>

#include "app/RunnerProcess.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunRunner(const std::string& arguments) {
    const std::string out = Temp("stdout"), err = Temp("stderr");
    // A run that does not end fails the test (timeout's status 124) instead of hanging it.
    const std::string command = "timeout 20 " + std::string(HEXMOOR_RUNNER) + " " + arguments + " < /dev/null > " +
                                out + " 2> " + err;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

// The RTI clock prints a star every 65,536 cycles while it polls for keys that never come:
// the second part of the run goes on with the clock's count, the timer and the screen where
// the first left them, and ends where the whole run ends, when the polling has gone on for
// --idle-cycles.
TEST(RunnerState, ARunCutInTwoEndsAsOneRun) {
    const std::string program = Program("rti_clock");
    const std::string first = Temp("first.state"), whole = Temp("whole.state"), second = Temp("second.state");
    const TRun straight = RunRunner("--max-cycles 3000000 --registers --save-state " + whole + " " + program);
    const TRun part1 = RunRunner("--max-cycles 1234567 --save-state " + first + " " + program);
    const TRun part2 = RunRunner("--load-state " + first + " --max-cycles 3000000 --registers --save-state " +
                                 second + " " + program);
    EXPECT_EQ(part1.Status, 3);
    EXPECT_EQ(part2.Status, 0);
    EXPECT_EQ(straight.Status, 0);
    EXPECT_THAT(part1.Out, HasSubstr("*"));
    EXPECT_EQ(part1.Out + part2.Out, straight.Out);
    EXPECT_EQ(part2.Err, straight.Err);
    EXPECT_EQ(ReadAll(second), ReadAll(whole)) << "the final states differ";
}

// A refused state file: its name and the cause, status 1 as for a program that cannot be
// read, and nothing runs. A state that cannot be written fails the run the same way.
TEST(RunnerState, StateFilesThatAreNotWholeAreRefused) {
    const std::string program = Program("rti_clock"), good = Temp("good.state");
    ASSERT_EQ(RunRunner("--max-cycles 100000 --save-state " + good + " " + program).Status, 3);
    const std::string bytes = ReadAll(good);
    std::string flipped = bytes, otherVersion = bytes;
    flipped[bytes.size() / 2] ^= 0x10;
    otherVersion[16] = 9;
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Cause;
    };
    const TCase cases[] = {
        {"a program", ReadAll(program), "not a Hexmoor state file"},
        {"truncated", bytes.substr(0, 1000), "truncated (1000 bytes of " + std::to_string(bytes.size()) + ")"},
        {"one byte flipped", flipped, "damaged (its checksum does not match)"},
        {"another version", otherVersion, "from another version of Hexmoor (state format 9; this one reads format 1)"},
    };
    for (const TCase& c : cases) {
        const std::string path = Temp("bad.state");
        std::ofstream(path, std::ios::binary) << c.Bytes;
        const TRun run = RunRunner("--load-state " + path + " " + program);
        EXPECT_EQ(run.Status, 1) << c.Name;
        EXPECT_EQ(run.Err, "hexmoor-run: " + path + ": " + c.Cause + "\n") << c.Name;
        EXPECT_EQ(run.Out, "") << c.Name;
    }
    const TRun unwritable = RunRunner("--max-cycles 100000 --save-state " + Temp("") + " " + program);
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_THAT(unwritable.Err, HasSubstr("hexmoor-run: " + Temp("") + ": "));
}

}  // namespace
}  // namespace hexmoor::testing
