#include "portio/control_output.h"

void portoff(PortIo& io) { PortWriteByte(io, kControlPort, 0); }

void porton(PortIo& io) { PortWriteByte(io, kControlPort, 1); }

void toggleport(PortIo& io) {
  const std::uint8_t value = PortReadByte(io, kControlPort);
  PortWriteByte(io, kControlPort, static_cast<std::uint8_t>((value ^ 1u) & 0xFFu));
}
