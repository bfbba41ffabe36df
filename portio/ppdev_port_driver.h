// Linux: the port driver of the first parallel port, through the kernel's
// ppdev interface. It serves byte reads and writes of the data register at
// port 888 (PPRDATA, PPWDATA) and refuses everything else. The port is
// claimed (PPCLAIM) from open() to close(), so no other program drives the
// output meanwhile.
//
// Needs read and write rights on the device (on most systems: membership of
// the group "lp"). Without them open() fails and the facility runs without
// the control output.
#ifndef TINDAVEL_PORTIO_PPDEV_PORT_DRIVER_H_
#define TINDAVEL_PORTIO_PPDEV_PORT_DRIVER_H_

#include <string>

#include "portio/port_driver.h"

inline constexpr char kDefaultParportDevice[] = "/dev/parport0";
inline constexpr std::uint32_t kParportDataRegister = 888;  // data register of the first parallel port

class PpdevPortDriver : public PortDriver {
 public:
  explicit PpdevPortDriver(std::string devicePath = kDefaultParportDevice);
  ~PpdevPortDriver() override;
  PpdevPortDriver(const PpdevPortDriver&) = delete;
  PpdevPortDriver& operator=(const PpdevPortDriver&) = delete;

  bool open() override;
  void close() override;
  bool control(std::uint32_t code, const PortRequestRecord& request, PortReplyRecord& reply) override;

  bool isOpen() const { return fd_ >= 0; }

 private:
  std::string devicePath_;
  int fd_ = -1;  // the claimed device, -1 when closed
};

#endif  // TINDAVEL_PORTIO_PPDEV_PORT_DRIVER_H_
