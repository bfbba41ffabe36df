#include "portio/ppdev_port_driver.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

PpdevPortDriver::PpdevPortDriver(std::string devicePath) : devicePath_(std::move(devicePath)) {}

PpdevPortDriver::~PpdevPortDriver() { close(); }

bool PpdevPortDriver::open() {
  if (isOpen()) return true;
  const int fd = ::open(devicePath_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  // Not a parallel port (or taken by another program): give it back.
  if (::ioctl(fd, PPCLAIM) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void PpdevPortDriver::close() {
  if (!isOpen()) return;
  (void)::ioctl(fd_, PPRELEASE);
  ::close(fd_);
  fd_ = -1;
}

bool PpdevPortDriver::control(std::uint32_t code, const PortRequestRecord& request, PortReplyRecord& reply) {
  if (!isOpen()) return false;
  const PortRequest decoded = decodePortRequest(request);
  // ppdev reaches the parallel port's registers only; the program needs the
  // data register, a byte wide, and nothing else.
  if (decoded.port != kParportDataRegister || decoded.size != kPortByte) return false;
  if (code == kPortIoRead) {
    unsigned char data = 0;
    if (::ioctl(fd_, PPRDATA, &data) != 0) return false;
    reply = encodePortReply(data);
    return true;
  }
  if (code == kPortIoWrite) {
    unsigned char data = static_cast<unsigned char>(decoded.value & 0xFFu);
    return ::ioctl(fd_, PPWDATA, &data) == 0;
  }
  return false;
}
