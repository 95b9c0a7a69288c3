// Every instruction of the four opcode pages, as the debugger's listing shows it, assembles
// back to the bytes it was read from.
#include <gmock/gmock.h>

#include "asm/AsmTestSources.h"
#include "core/ListingText.h"
#include "core/OpcodeTable.h"

namespace hexmoor::testing {
namespace {

TEST(AsmRoundTrip, ListingTextOfEveryOpcodeAssemblesToItsBytes) {
    // Operands above the direct page, and on it (where extended needs its '>').
    const std::array<uint8_t, 3> fillers[] = {{0x12, 0x34, 0x56}, {0x00, 0x41, 0x7F}};
    constexpr uint16_t kAddress = 0x2000;
    int instructions = 0;
    for (const auto& filler : fillers) {
        for (int page = 0; page < kPageCount; ++page) {
            for (int code = 0; code < 256; ++code) {
                TInstructionBytes bytes{};
                int at = 0;
                if (page != 0) bytes[at++] = kPrebytes[page];
                bytes[at++] = uint8_t(code);
                std::copy(filler.begin(), filler.end(), bytes.begin() + at);
                const TDecodedInstruction decoded = DecodeAt(kAddress, bytes);
                const std::string text = ListingText(decoded);
                const TAssembly assembly = AssembleText("  ORG $2000\n  " + text);
                const std::vector<uint8_t> expected(bytes.begin(), bytes.begin() + decoded.Length);
                ASSERT_EQ(assembly.Chunks.size(), 1u) << text << "\n" << DiagnosticsText(assembly);
                EXPECT_EQ(assembly.Chunks[0].Bytes, expected) << text;
                EXPECT_FALSE(assembly.Failed()) << text;
                instructions += decoded.Legal;
            }
        }
    }
    EXPECT_EQ(instructions, 2 * 307);  // the 68HC11's opcodes (TEST aside), twice
}

}  // namespace
}  // namespace hexmoor::testing
