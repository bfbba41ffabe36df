// The platform side of the port I/O facility: a device that takes the
// facility's request records (port_request.h) and carries them out on the
// I/O ports. On Linux it is PpdevPortDriver; tests put in a fake one.
#ifndef TINDAVEL_PORTIO_PORT_DRIVER_H_
#define TINDAVEL_PORTIO_PORT_DRIVER_H_

#include <cstdint>
#include <memory>

#include "portio/port_request.h"

class PortDriver {
 public:
  virtual ~PortDriver() = default;

  // Opens the device, setting up whatever it needs. True when it takes
  // requests from now on.
  virtual bool open() = 0;

  // Closes the device and takes down what open() set up. Harmless when it
  // is not open.
  virtual void close() = 0;

  // Sends one request record under an I/O control code (kPortIoRead or
  // kPortIoWrite). A read fills `reply`. False when the request was not
  // carried out (device not open, a port or size it does not serve, an
  // unknown code, a failed transfer); `reply` is then left as it was.
  virtual bool control(std::uint32_t code, const PortRequestRecord& request, PortReplyRecord& reply) = 0;
};

// The driver of the platform the program runs on, or null where there is
// none. Linux: the first parallel port through ppdev ("/dev/parport0").
// Windows: none in this build; the program's own kernel driver service is
// not carried here, so the facility reports not ready and drops writes.
std::unique_ptr<PortDriver> makeSystemPortDriver();

#endif  // TINDAVEL_PORTIO_PORT_DRIVER_H_
