#include "portio/ppdev_port_driver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "portio/control_output.h"
#include "portio/port_io.h"

namespace {

TEST(PpdevPortDriver, MissingDeviceLeavesTheFacilityNotReady) {
  PpdevPortDriver driver("/nonexistent/parport-for-tindavel-tests");
  PortIo io;
  portIoStartup(io, &driver);
  EXPECT_FALSE(io.PortDriverReady);
  EXPECT_FALSE(driver.isOpen());
  portoff(io);
  toggleport(io);
  portIoShutdown(io);
}

// A file that is no parallel port refuses the claim; the descriptor is not
// kept.
TEST(PpdevPortDriver, NotAParallelPortIsRefused) {
  const auto path = std::filesystem::temp_directory_path() / "not_a_parport";
  { std::ofstream(path) << "x"; }
  PpdevPortDriver driver(path.string());
  EXPECT_FALSE(driver.open());
  EXPECT_FALSE(driver.isOpen());
  std::filesystem::remove(path);
}

TEST(PpdevPortDriver, ClosedDriverRefusesRequests) {
  PpdevPortDriver driver("/nonexistent/parport-for-tindavel-tests");
  PortReplyRecord reply = encodePortReply(0x77);
  EXPECT_FALSE(driver.control(kPortIoRead, encodePortRequest({888, kPortByte, 0}), reply));
  EXPECT_EQ(decodePortReply(reply), 0x77u);
  EXPECT_FALSE(driver.control(kPortIoWrite, encodePortRequest({888, kPortByte, 1}), reply));
  driver.close();  // harmless when not open
}

// The system's own driver: on a machine without a parallel port (or without
// the right to it) the program still starts and runs on.
TEST(SystemPortDriver, StartsWhateverTheMachineHas) {
  auto driver = makeSystemPortDriver();
  PortIo io;
  portIoStartup(io, driver.get());
  if (!std::filesystem::exists(kDefaultParportDevice)) {
    EXPECT_FALSE(io.PortDriverReady);
  }
  portIoShutdown(io);
  EXPECT_FALSE(io.PortDriverReady);
}

}  // namespace
