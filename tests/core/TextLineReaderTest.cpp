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

TRead ReadLines(const std::string& text) {
    const std::string path = TempPath("lines.txt");
    std::ofstream(path, std::ios::binary) << text;
    TTextLineReader file;
    EXPECT_TRUE(file.Open(path)) << file.Error();
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
        const TRead read = ReadLines(c.text);
        EXPECT_EQ(read.Lines, c.lines) << c.name;
        EXPECT_EQ(read.Error, c.error) << c.name;
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
