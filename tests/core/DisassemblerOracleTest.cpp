// Every opcode's mnemonic and length against an independent disassembler: GNU objdump for
// the 68HC11, run on a binary holding each opcode of a page in its own 16-byte slot.
#include <gmock/gmock.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "core/Hex.h"
#include "core/OpcodeTable.h"
#include "core/TraceText.h"
#include "support/TestMachine.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

constexpr int kSlot = 16;
constexpr std::array<uint8_t, 4> kSampleOperands{0x12, 0x34, 0x56, 0x78};

struct TDisassembled {
    std::string mnemonic;
    int length;
};

// objdump's reading of a binary: address -> mnemonic and length.
std::map<int, TDisassembled> Disassemble(const std::vector<uint8_t>& binary) {
    const std::string path = TempPath("hexmoor_oracle.bin");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(binary.data()), std::streamsize(binary.size()));
    const std::string command =
        std::string(HEXMOOR_M68HC11_OBJDUMP) + " -D -b binary -m m68hc11 " + path;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer;
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
    std::remove(path.c_str());

    std::map<int, TDisassembled> instructions;
    const std::regex line(R"(^\s*([0-9a-f]+):\t[0-9a-f ]+\t(\S+))");
    std::istringstream lines(output);
    std::string text;
    int previous = -1;
    while (std::getline(lines, text)) {
        std::smatch match;
        if (!std::regex_search(text, match, line)) continue;
        const int address = std::stoi(match[1], nullptr, 16);
        if (previous >= 0) instructions[previous].length = address - previous;
        instructions[address] = {match[2], int(binary.size()) - address};
        previous = address;
    }
    return instructions;
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(DisassemblerOracle, MnemonicsAndLengthsOfAllFourPages) {
    int compared = 0;
    for (int page = 0; page < kPageCount; ++page) {
        std::vector<uint8_t> binary;
        std::vector<int> codes;
        for (int code = 0; code < 256; ++code) {
            const TOpcode& op = kOpcodeTable[page][code];
            if (op.Operation == TOperation::Prebyte) continue;
            std::vector<uint8_t> slot;
            if (page > 0) slot.push_back(kPrebytes[page]);
            slot.push_back(uint8_t(code));
            for (int i = 0; i < OperandBytes(op); ++i) slot.push_back(kSampleOperands[i]);
            slot.resize(kSlot, 0x01);  // NOPs bring objdump back in step at the next slot
            binary.insert(binary.end(), slot.begin(), slot.end());
            codes.push_back(code);
        }
        const std::map<int, TDisassembled> oracle = Disassemble(binary);
        ASSERT_FALSE(oracle.empty()) << "objdump produced nothing";

        for (std::size_t i = 0; i < codes.size(); ++i) {
            const int code = codes[i];
            const TOpcode& op = kOpcodeTable[page][code];
            const auto found = oracle.find(int(i) * kSlot);
            ASSERT_NE(found, oracle.end()) << "objdump lost step before page " << page + 1
                                           << " opcode $" << Hex2(uint8_t(code));
            const TDisassembled& theirs = found->second;

            TTestMachine t;
            for (int b = 0; b < kSlot; ++b) t.Machine->MemoryImage[0x2000 + b] = binary[i * kSlot + b];
            t.Machine->RegisterPC = 0x2000;
            const std::string trace = BuildTraceText(*t.Machine);
            const std::string where = "page " + std::to_string(page + 1) + " opcode $" +
                                      Hex2(uint8_t(code)) + " (" + trace + ")";
            if (op.Operation == TOperation::Illegal) {
                EXPECT_EQ(theirs.mnemonic, ".byte") << where;
                EXPECT_EQ(trace, "Illegal Page " + std::to_string(page + 1)) << where;
            } else if (op.Operation == TOperation::Test) {
                EXPECT_EQ(theirs.mnemonic, "bgnd") << where;
                EXPECT_EQ(trace, "Illegal (TEST)");
            } else {
                EXPECT_EQ(Upper(theirs.mnemonic), op.Mnemonic) << where;
                EXPECT_EQ(theirs.length, InstructionLengthOf(page, op)) << where;
                EXPECT_THAT(trace, ::testing::StartsWith(op.Mnemonic)) << where;
            }
            ++compared;
        }
    }
    EXPECT_EQ(compared, 256 * kPageCount - 3);
}

}  // namespace
}  // namespace hexmoor::testing
