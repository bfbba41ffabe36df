// The control output: bit 0 of the data register of the first parallel port
// (I/O address 888, 0x378), accessed as a byte. The settings window's
// "Control function (Ctrl port)" group says what it is used for.
#ifndef TINDAVEL_PORTIO_CONTROL_OUTPUT_H_
#define TINDAVEL_PORTIO_CONTROL_OUTPUT_H_

#include <cstdint>

#include "portio/port_io.h"

inline constexpr std::uint32_t kControlPort = 888;

// Writes the byte 0: the output off, and bits 1..7 cleared too.
void portoff(PortIo& io);

// Writes the byte 1: the output on, bits 1..7 cleared.
void porton(PortIo& io);

// Flips bit 0 and writes the other bits back as they were read.
void toggleport(PortIo& io);

#endif  // TINDAVEL_PORTIO_CONTROL_OUTPUT_H_
