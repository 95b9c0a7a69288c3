// Reading program and input files line by line.
#include <gmock/gmock.h>

#include <fstream>

#include "core/TextLineReader.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

struct TRead {
    std::vector<std::string> Lines;
    std::string Error;
};

// Reads the lines, after a look at the first bytes (as a program load takes) when asked.
TRead ReadLines(const std::string& text, bool lookFirst = false) {
    const std::string path = TempPath("lines.txt");
    std::ofstream(path, std::ios::binary) << text;
    TTextLineReader file;
    EXPECT_TRUE(file.Open(path)) << file.Error();
    if (lookFirst) {
        EXPECT_FALSE(file.StartsWith("\x7F" "ELF"));
    }
    TRead read;
    std::string line;
    while (file.ReadLine(line)) read.Lines.push_back(line);
    read.Error = file.Error();
    EXPECT_FALSE(file.ReadLine(line)) << "the end stays the end";
    return read;
}

TEST(TextLineReader, LineEndsAndLengths) {
    const std::size_t max = TTextLineReader::kMaxLineLength;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
        std::string error;
    } cases[] = {
        {"empty file", "", {}, ""},
        {"LF, CRLF and CR", "a\r\n\r\nb\rc\nd", {"a", "", "b", "c", "d"}, ""},
        {"a last line end adds no line", "a\n", {"a"}, ""},
        {"CR at the very end", "a\r", {"a"}, ""},
        {"CR CR is two line ends", "a\r\rb", {"a", "", "b"}, ""},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}, ""},
        {"one empty line", "\n", {""}, ""},
        {"NUL and high bytes are kept", std::string("x\0\xB0y\n", 5), {std::string("x\0\xB0y", 4)}, ""},
        {"the longest line", std::string(max, 'x') + "\nz", {std::string(max, 'x'), "z"}, ""},
        {"one character more", "ok\n" + std::string(max + 1, 'x') + "\nz", {"ok"},
         "line 2 is longer than 65536 characters"},
    };
    for (const Case& c : cases) {
        for (bool lookFirst : {false, true}) {
            const TRead read = ReadLines(c.text, lookFirst);
            EXPECT_EQ(read.Lines, c.lines) << c.name << (lookFirst ? ", after a look" : "");
            EXPECT_EQ(read.Error, c.error) << c.name << (lookFirst ? ", after a look" : "");
        }
    }
}

// A binary program is read whole after a look at its first bytes, up to a bound.
TEST(TextLineReader, ReadAllAfterALook) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::string bytes, error;
    } cases[] = {
        {"\x7F" "ELF\r\n\x01rest", 11, "\x7F" "ELF\r\n\x01rest", ""},
        {"\x7F" "EL", 11, "\x7F" "EL", ""},
        {"\x7F" "ELF\r\n\x01rest", 10, "", "the file is longer than 10 bytes"},
    };
    const std::string path = TempPath("binary.bin");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(path, std::ios::binary) << c.text;
        TTextLineReader file;
        ASSERT_TRUE(file.Open(path));
        EXPECT_EQ(file.StartsWith("\x7F" "ELF"), c.text.size() >= 4);
        std::vector<uint8_t> bytes;
        EXPECT_EQ(file.ReadAll(bytes, c.limit), c.error.empty());
        if (c.error.empty()) {
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.bytes);
        }
        EXPECT_EQ(file.Error(), c.error);
    }
}

TEST(TextLineReader, WhatCannotBeOpened) {
    struct Case {
        std::string path, error;
    } cases[] = {{"/nonexistent/file", "No such file or directory"},
                 {::testing::TempDir(), "Is a directory"}};
    for (const Case& c : cases) {
        TTextLineReader file;
        EXPECT_FALSE(file.Open(c.path)) << c.path;
        EXPECT_EQ(file.Error(), c.error) << c.path;
        std::string line;
        EXPECT_FALSE(file.ReadLine(line)) << c.path;
    }
}

}  // namespace
}  // namespace hexmoor::testing
