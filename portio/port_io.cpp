#include "portio/port_io.h"

#include "portio/port_driver.h"

void portIoStartup(PortIo& io, PortDriver* driver) {
  io.PortDirect = false;
  io.driver = driver;
  io.PortDriverReady = driver != nullptr && driver->open();
}

void portIoShutdown(PortIo& io) {
  if (io.PortDriverReady && io.driver != nullptr) io.driver->close();
  io.PortDriverReady = false;
  io.driver = nullptr;
}

namespace {

// The driver path is open for requests.
bool canUseDriver(const PortIo& io) {
  return !io.PortDirect && io.PortDriverReady && io.driver != nullptr;
}

}  // namespace

std::uint32_t PortRead(PortIo& io, std::uint32_t port, std::uint32_t size) {
  // A size the ports do not have is never sent; neither path serves it.
  if (!isPortSizeCode(size) || !canUseDriver(io)) return 0;
  PortReplyRecord reply{};
  if (!io.driver->control(kPortIoRead, encodePortRequest({port, size, 0}), reply)) return 0;
  return maskToPortSize(decodePortReply(reply), size);
}

void PortWrite(PortIo& io, std::uint32_t port, std::uint32_t size, std::uint32_t value) {
  if (!isPortSizeCode(size) || !canUseDriver(io)) return;
  PortReplyRecord unused{};
  // A failed write is dropped like any write without a driver: the control
  // output is a lamp, and nothing in the program could do better.
  (void)io.driver->control(kPortIoWrite, encodePortRequest({port, size, value}), unused);
}

std::uint8_t PortReadByte(PortIo& io, std::uint32_t port) {
  return static_cast<std::uint8_t>(PortRead(io, port, kPortByte));
}

void PortWriteByte(PortIo& io, std::uint32_t port, std::uint8_t value) {
  PortWrite(io, port, kPortByte, value);
}
