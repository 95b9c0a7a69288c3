#include "support/TestMachine.h"

#include <stdexcept>

#include "core/TextLineReader.h"
#include "loader/S19Reader.h"

namespace hexmoor::testing {

void TTestMachine::Poke(uint16_t address, const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) Machine->MemoryImage[address++] = byte;
}

void TTestMachine::Place(uint16_t address, const std::vector<uint8_t>& bytes) {
    Poke(address, bytes);
    Machine->RegisterPC = address;
}

int TTestMachine::Step() {
    Machine->FastExecuteInstruction();
    Machine->CycleCount += Machine->InstructionCycles;
    return Machine->InstructionCycles;
}

uint8_t TTestMachine::ReadRegister(uint8_t offset) {
    Machine->EffectiveAddress = uint16_t(Machine->IRegBeg + offset);
    Machine->LoadByte();
    return Machine->DataByte;
}

uint8_t TTestMachine::ReadLatch(uint8_t offset) {
    Machine->EffectiveAddress = uint16_t(Machine->IRegBeg + offset);
    Machine->LoadByteforStore();
    return Machine->DataByte;
}

uint16_t TTestMachine::ReadRegisterWord(uint8_t offset) {
    Machine->EffectiveAddress = uint16_t(Machine->IRegBeg + offset);
    Machine->LoadWord();
    return Machine->OperandWord;
}

void TTestMachine::WriteRegister(uint8_t offset, uint8_t byte) {
    Machine->EffectiveAddress = uint16_t(Machine->IRegBeg + offset);
    Machine->DataByte = byte;
    Machine->StoreByte();
}

void TTestMachine::Advance(int cycles) {
    Machine->InstructionCycles = cycles;
    Machine->InstructionPreProcessing();
    Machine->CycleCount += cycles;
}

long TTestMachine::RunProgram(const std::string& name, long instructionLimit) {
    LoadTestProgram(*Machine, name);
    Machine->RegisterPC = Word(0xFFFE);
    for (long count = 0; count < instructionLimit; ++count) {
        const uint16_t pc = Machine->RegisterPC;
        if (Machine->MemoryImage[pc] == 0x20 && Machine->MemoryImage[uint16_t(pc + 1)] == 0xFE)
            return count;
        if ((count & 0xFFFF) == 0) Panel.CheckTime();
        Step();
    }
    throw std::runtime_error(name + " did not reach its end within the instruction limit");
}

void TTestMachine::LoadThroughPanel(const std::string& name) {
    Panel.FileName = TestProgramPath(name);
    Machine->LoadClick();
}

long TTestMachine::RunPasses(const std::string& name, long passLimit) {
    LoadThroughPanel(name);
    Machine->RunPass();  // the External Reset that follows a load
    const uint16_t end = EndLoopAddress();
    for (long passes = 1; passes < passLimit; ++passes) {
        if (Machine->RegisterPC == end && Machine->RunState == RunNormal) return passes;
        if ((passes & 0xFFF) == 0) Panel.CheckTime();
        Machine->RunPass();
    }
    throw std::runtime_error(name + " did not reach its end within the pass limit");
}

uint16_t TTestMachine::EndLoopAddress() const {
    for (uint32_t address = 0x2000; address < 0xFFFF; ++address)
        if (Machine->MemoryImage[address] == 0x20 && Machine->MemoryImage[address + 1] == 0xFE)
            return uint16_t(address);
    throw std::runtime_error("the program has no final \"bra .\" loop");
}

std::string TestProgramPath(const std::string& name) {
    return std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/" + name + ".s19";
}

void LoadTestProgram(TMachine& machine, const std::string& name) {
    const std::string path = TestProgramPath(name);
    TTextLineReader file;
    if (!file.Open(path)) throw std::runtime_error("cannot open test program " + path);
    for (std::string line; file.ReadLine(line);) {
        const TS19Line read = ReadS19Line(line);
        if (!read.Message.empty()) throw std::runtime_error(path + ": " + read.Message);
        for (const TS19Byte& byte : read.Bytes) {
            machine.MemoryImage[byte.Address] = byte.Value;
            machine.ExternalImage[byte.Address] = byte.Value;
        }
    }
    if (!file.Error().empty()) throw std::runtime_error(path + ": " + file.Error());
}

}  // namespace hexmoor::testing
