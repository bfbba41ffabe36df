#include "portio/port_driver.h"

#if defined(__linux__)
#include "portio/ppdev_port_driver.h"
#endif

std::unique_ptr<PortDriver> makeSystemPortDriver() {
#if defined(__linux__)
  return std::make_unique<PpdevPortDriver>();
#else
  // Windows: the kernel driver service this program once installed for its
  // port requests is not part of this build. Other systems give a user
  // program no port access. Without a driver the facility reports not ready
  // and the program runs without the control output.
  return nullptr;
#endif
}
