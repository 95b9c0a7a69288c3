// Reading memory and registers as a debugger's views do: the byte a program's read would
// get at this moment, without any effect of the read. A peek clears no flag, pauses for no
// I/O, shows no message, takes no input and feeds no line of an input file.
#pragma once

#include <cstdint>

namespace hexmoor {

class TMachine;

uint8_t PeekByte(const TMachine& machine, uint16_t address);
// Big-endian, the second byte at the next address ($FFFF wraps to $0000).
uint16_t PeekWord(const TMachine& machine, uint16_t address);

}  // namespace hexmoor
