// The port I/O facility: reads and writes I/O ports through a driver.
//
// Set up once before the first window is created (portIoStartup) and taken
// down after the last one is gone (portIoShutdown); in between its state does
// not change. When there is no driver, or the device does not open, or the
// program may not use it, PortDriverReady stays false: every write is then
// dropped without a word, every read gives 0, and the program runs on.
#ifndef TINDAVEL_PORTIO_PORT_IO_H_
#define TINDAVEL_PORTIO_PORT_IO_H_

#include <cstdint>

#include "portio/port_request.h"

class PortDriver;

struct PortIo {
  bool PortDriverReady = false;  // port requests may be made
  // Requests would be carried out with the processor's own port
  // instructions. No system this program runs on lets a user program do
  // that, so start-up never sets it; while set, requests are dropped.
  bool PortDirect = false;
  PortDriver* driver = nullptr;  // the open device; not owned
};

// Opens `driver` (null: there is none) and sets PortDriverReady from the
// result. The driver must outlive portIoShutdown.
void portIoStartup(PortIo& io, PortDriver* driver);

// Closes the device if it was opened. Afterwards the facility is not ready.
void portIoShutdown(PortIo& io);

// The port's value, zero-extended to 32 bits; 0 when the port cannot be read
// or `size` is not 0, 1 or 2.
std::uint32_t PortRead(PortIo& io, std::uint32_t port, std::uint32_t size);

// Writes the low 8, 16 or 32 bits of `value` by size code. Dropped when the
// facility is not ready or `size` is not 0, 1 or 2.
void PortWrite(PortIo& io, std::uint32_t port, std::uint32_t size, std::uint32_t value);

std::uint8_t PortReadByte(PortIo& io, std::uint32_t port);                  // PortRead(port, 0)
void PortWriteByte(PortIo& io, std::uint32_t port, std::uint8_t value);     // PortWrite(port, 0, value)

#endif  // TINDAVEL_PORTIO_PORT_IO_H_
