#include "asm/Mnemonics.h"

#include <map>
#include <string>

#include "asm/SourceText.h"
#include "core/OpcodeTable.h"

namespace hexmoor {

namespace {

struct TAlias {
    const char* Name;
    const char* Means;
};
// The data book's alternate names, then the short names the Motorola freeware assembler
// (AS11) took for the accumulator loads, stores and ORs, and CMPD, which course versions of
// it took for CPD.
constexpr TAlias kAliases[] = {
    {"LSL", "ASL"},   {"LSLA", "ASLA"}, {"LSLB", "ASLB"}, {"LSLD", "ASLD"}, {"BHS", "BCC"},
    {"BLO", "BCS"},   {"LDA", "LDAA"},  {"LDB", "LDAB"},  {"STA", "STAA"},  {"STB", "STAB"},
    {"ORA", "ORAA"},  {"ORB", "ORAB"},  {"CMPD", "CPD"},
};

using TMnemonicMap = std::map<std::string, TMnemonic, std::less<>>;

TMnemonicMap MakeMnemonics() {
    TMnemonicMap mnemonics;
    for (int page = 0; page < kPageCount; ++page) {
        for (int code = 0; code < 256; ++code) {
            const TOpcode& opcode = kOpcodeTable[page][code];
            if (opcode.Operation == TOperation::Illegal || opcode.Operation == TOperation::Prebyte) continue;
            mnemonics[opcode.Mnemonic].Forms[int(opcode.Mode)] = {page, uint8_t(code), &opcode};
        }
    }
    for (const TAlias& alias : kAliases) mnemonics[alias.Name] = mnemonics.at(alias.Means);
    return mnemonics;
}

}  // namespace

TOperation TMnemonic::Operation() const {
    for (const TInstructionForm& form : Forms)
        if (form.Opcode) return form.Opcode->Operation;
    return TOperation::Illegal;
}

const TMnemonic* FindMnemonic(std::string_view name) {
    static const TMnemonicMap mnemonics = MakeMnemonics();
    const auto found = mnemonics.find(UpperCase(name));
    return found == mnemonics.end() ? nullptr : &found->second;
}

}  // namespace hexmoor
