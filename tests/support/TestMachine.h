// A machine on a fake panel, with helpers to place code and run assembled test programs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Machine.h"
#include "support/FakePanel.h"

namespace hexmoor::testing {

class TTestMachine {
public:
    TTestMachine() : Machine(std::make_unique<TMachine>(Panel)) {}

    // Writes bytes into MemoryImage from `address` on.
    void Poke(uint16_t address, const std::vector<uint8_t>& bytes);
    // Writes code and points PC at it.
    void Place(uint16_t address, const std::vector<uint8_t>& bytes);

    // Executes one instruction and returns its cycles.
    int Step();

    // Loads an assembled program from the test programs, starts it at its reset vector
    // and runs it until it reaches its final "bra ." loop. Returns the instructions run.
    long RunProgram(const std::string& name, long instructionLimit = 1'000'000);

    // Loads a test program through the Load control, as a user would.
    void LoadThroughPanel(const std::string& name);

    // Loads a program through the Load control and runs whole passes of the run loop
    // (reset, timers, interrupts) until it reaches its final "bra ." loop. Returns the
    // passes run.
    long RunPasses(const std::string& name, long passLimit = 10'000'000);

    // The address of the program's final "bra ." loop, searched from $2000.
    uint16_t EndLoopAddress() const;

    uint16_t Word(uint16_t address) const {
        return uint16_t(Machine->MemoryImage[address] << 8 |
                        Machine->MemoryImage[uint16_t(address + 1)]);
    }

    // A program's view of the register block, wherever INIT has put it: a byte load, the
    // read half of a read-modify-write (which takes the port latches and TI4O5 as stored),
    // a word load, and a byte store.
    uint8_t ReadRegister(uint8_t offset);
    uint8_t ReadLatch(uint8_t offset);
    uint16_t ReadRegisterWord(uint8_t offset);
    void WriteRegister(uint8_t offset, uint8_t byte);
    // One pass of simulated time: the timers advance and the cycle count grows.
    void Advance(int cycles);

    TFakePanel Panel;
    std::unique_ptr<TMachine> Machine;
};

// Reads a test program's S19 file and writes its bytes into the images.
void LoadTestProgram(TMachine& machine, const std::string& name);

std::string TestProgramPath(const std::string& name);

}  // namespace hexmoor::testing
