// Reading memory and registers as a debugger's views do: the byte a program's read would
// get at this moment, without any effect of the read. A peek clears no flag, pauses for no
// I/O, shows no message, takes no input and feeds no line of an input file.
// Writing a byte a user typed into a view: as a program's store, with all its effects.
#pragma once

#include <cstdint>

namespace hexmoor {

class TMachine;

uint8_t PeekByte(const TMachine& machine, uint16_t address);
// Big-endian, the second byte at the next address ($FFFF wraps to $0000).
uint16_t PeekWord(const TMachine& machine, uint16_t address);

// Stores the byte as a program's store would: a register takes it through its write rule
// (PORTB lights its LEDs, INIT moves the windows). The debugger hears nothing of it, so a
// watchpoint on the byte neither fires nor stops the machine.
void PokeByte(TMachine& machine, uint16_t address, uint8_t value);

}  // namespace hexmoor
