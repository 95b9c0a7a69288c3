// hexmoor-asm as a user runs it: its exit statuses, and no output file after an error.
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/FifosAndLinks.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

struct TRun {
    int Status = -1;
    std::string Err, Out;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// `timeout` keeps a hang from stalling the suite: it would end as status 124.
TRun RunAsm(const std::string& arguments) {
    const std::string err = TempPath("asm-stderr"), out = TempPath("asm-stdout");
    const int status = std::system(("timeout 20 " HEXMOOR_ASM " " + arguments + " 2>" + err + " >" + out).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(err), ReadAll(out)};
}

constexpr unsigned kNobody = 65534;

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(AsmCommand, ExitStatusesAndNoOutputOnError) {
    const std::string good = TempPath("good.asm"), bad = TempPath("bad.asm");
    Write(good, "  ORG $2000\nstart LDAA #1\n  LDAA #2 + 1\n");
    Write(bad, "  LDAA nowhere\n  BRA *+300\n");
    std::filesystem::remove(TempPath("good.s19"));

    TRun run = RunAsm(good + " -l " + TempPath("good.lst") + " --symbols=" + TempPath("good.sym"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_THAT(run.Err, ::testing::HasSubstr("good.asm:3:11: warning: the operand ended"));
    EXPECT_EQ(ReadAll(TempPath("good.s19")), "S107200086018602C9\nS9030000FC\n");
    EXPECT_EQ(ReadAll(TempPath("good.sym")), "2000 start\n");
    EXPECT_THAT(ReadAll(TempPath("good.lst")), ::testing::HasSubstr("86 01"));

    const std::string out = TempPath("bad.s19");
    run = RunAsm("-o " + out + " " + bad);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
              bad + ":1:8: error: undefined symbol nowhere\n" + bad +
                  ":2:7: error: branch out of range: $012F is 298 bytes away, a branch reaches -128 to +127\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    EXPECT_EQ(RunAsm(TempPath("missing.asm")).Status, 1);
    const std::string device = TempPath("device.asm");
    Write(device, "  INCLUDE /dev/zero\n");
    run = RunAsm(device);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, device + ":1:11: error: cannot read /dev/zero: not a regular file\n");
    // An output that cannot be written leaves every other one as it was.
    Write(TempPath("good.s19"), "old");
    run = RunAsm(good + " -l " + TempPath("nofolder/x.lst"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, ::testing::EndsWith("\nhexmoor-asm: cannot write " + TempPath("nofolder/x.lst") +
                                             ": No such file or directory\n"));
    EXPECT_EQ(ReadAll(TempPath("good.s19")), "old");
    EXPECT_EQ(RunAsm("-o " + good + " " + good).Status, 2);  // would overwrite the source
    EXPECT_EQ(RunAsm("-l " + out + " -o " + out + " " + good).Status, 2);
    run = RunAsm("--frobnicate " + good);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "hexmoor-asm: unknown option --frobnicate (see hexmoor-asm --help)\n");
    EXPECT_EQ(RunAsm("").Status, 2);
    EXPECT_EQ(RunAsm(good + " -o").Status, 2);
    EXPECT_EQ(RunAsm("--help").Status, 0);
    EXPECT_EQ(ReadAll(good), "  ORG $2000\nstart LDAA #1\n  LDAA #2 + 1\n");
}

// Each output written through what the user named: a FIFO receives the bytes, a link to a
// file elsewhere stays a link to the new bytes with the file's permissions, a file with a
// second hard link is written in place, and - is standard output.
TEST(AsmCommand, OutputsAreWrittenThroughWhatTheyAreNotReplaced) {
    namespace fs = std::filesystem;
    const std::string source = TempPath("through.asm");
    Write(source, "  ORG $2000\nstart LDAA #1\n");
    const struct {
        const char* Option;
        ::testing::Matcher<std::string> Bytes;
    } outputs[] = {
        {"-o", "S1052000860153\nS9030000FC\n"},
        {"-l", ::testing::HasSubstr("2000     86 01")},
        {"--symbols", "2000 start\n"},
    };
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.Option);
        const std::string prefix = std::string(output.Option) + " ";
        // The S-records go elsewhere while another output is under test.
        const std::string rest = (prefix == "-o " ? " " : " -o " + TempPath("x.s19") + " ") + source;
        const std::string fifo = TempPath("fifo.out");
        TRun run;
        EXPECT_THAT(ReadFifoDuring(fifo, [&] { run = RunAsm(prefix + fifo + rest); }), output.Bytes);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_TRUE(fs::is_fifo(fifo));

        const std::string link = TempPath("link.out"), target = MakeLinkToFileElsewhere(link, "target.out");
        const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
        fs::permissions(target, mode);
        const bool root = geteuid() == 0;  // only root can give the file to someone else, and keep it theirs
        if (root) {
            EXPECT_EQ(chown(target.c_str(), kNobody, kNobody), 0);
        }
        run = RunAsm(prefix + link + rest);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_THAT(ReadAll(target), output.Bytes);
        EXPECT_EQ(fs::status(target).permissions(), mode);
        struct stat owned;
        if (root && stat(target.c_str(), &owned) == 0) {
            EXPECT_THAT((std::pair{owned.st_uid, owned.st_gid}), ::testing::Pair(kNobody, kNobody));
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(target).parent_path()), {}), 1) << "a temporary left";

        const std::string named = TempPath("named.out"), other = TempPath("other-name.out");
        fs::remove(named), fs::remove(other);
        Write(named, "old");
        fs::create_hard_link(named, other);
        EXPECT_EQ(RunAsm(prefix + named + rest).Status, 0);
        EXPECT_THAT(ReadAll(other), output.Bytes);

        run = RunAsm(prefix + "-" + rest);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_THAT(run.Out, output.Bytes);
    }
    const TRun both = RunAsm("-o - -l - " + source);
    EXPECT_EQ(both.Status, 2);
    EXPECT_EQ(both.Err, "hexmoor-asm: only one output can go to standard output (see hexmoor-asm --help)\n");
    EXPECT_EQ(both.Out, "");
}

// The first line of each S-record: its type and byte count.
std::string RecordHeads(const std::string& s19) {
    std::string heads;
    for (std::size_t at = 0; at < s19.size(); at = s19.find('\n', at) + 1) heads += s19.substr(at, 4) + " ";
    return heads;
}

TEST(AsmCommand, RecordLengthsRelativeNamesAndIncludesThatNeverEnd) {
    const std::string folder = TempPath("records");
    std::filesystem::create_directories(folder);
    Write(folder + "/fill.asm", "  ORG $2000\n  FILL $AA,40\n");
    const std::string out = folder + "/fill.s19";
    std::string ones;
    for (int i = 0; i < 40; ++i) ones += "S104 ";
    struct TCase {
        std::string Option;
        int Status;
        std::string Heads;
    };
    const TCase cases[] = {
        {"", 0, "S113 S113 S10B S903 "},
        {"--record-bytes 32", 0, "S123 S10B S903 "},
        {"--record-bytes=1", 0, ones + "S903 "},
        {"--record-bytes 252", 0, "S12B S903 "},
        {"--record-bytes 0", 2, ""},
        {"--record-bytes 253", 2, ""},
        {"--record-bytes 16x", 2, ""},
        {"--record-bytes", 2, ""},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(out);
        EXPECT_EQ(RunAsm("-o " + out + " " + folder + "/fill.asm " + c.Option).Status, c.Status) << c.Option;
        EXPECT_EQ(RecordHeads(ReadAll(out)), c.Heads) << c.Option;
    }

    // The listing names the source as the command line did.
    EXPECT_EQ(std::system(("cd " + folder + " && " HEXMOOR_ASM " -l fill.lst fill.asm").c_str()), 0);
    EXPECT_THAT(ReadAll(folder + "/fill.lst"), ::testing::StartsWith("File fill.asm\n"));

    // 31 files, each including the next twice: a billion lines, refused at the bound.
    for (int i = 0; i < 31; ++i) {
        const std::string next = "  INCLUDE f" + std::to_string(i + 1) + ".asm\n";
        Write(folder + "/f" + std::to_string(i) + ".asm", i < 30 ? next + next : "  NOP\n");
    }
    const TRun run = RunAsm(folder + "/f0.asm");
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, ::testing::HasSubstr("error: more than 1000000 lines to assemble: the files include each "
                                              "other too often (" +
                                              folder + "/f0.asm:1 -> " + folder + "/f1.asm:"));
}

}  // namespace
}  // namespace hexmoor::testing
