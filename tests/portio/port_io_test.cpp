#include "portio/port_io.h"

#include <cstdint>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "portio/control_output.h"
#include "portio/port_driver.h"
#include "portio/port_request.h"

namespace {

// A driver over a few fake 32-bit port registers that records every request
// it is sent.
class FakePortDriver : public PortDriver {
 public:
  struct Sent {
    std::uint32_t code;
    PortRequestRecord record;
  };

  bool open() override {
    ++opens;
    isOpen = opensOk;
    return isOpen;
  }
  void close() override {
    ++closes;
    isOpen = false;
  }
  bool control(std::uint32_t code, const PortRequestRecord& request, PortReplyRecord& reply) override {
    sent.push_back({code, request});
    if (!isOpen) return false;
    const PortRequest r = decodePortRequest(request);
    if (code == kPortIoRead) {
      // Garbage above the requested width: the facility must mask it.
      reply = encodePortReply(registers[r.port] | 0xA5A50000u);
      return true;
    }
    if (code == kPortIoWrite) {
      registers[r.port] = maskToPortSize(r.value, r.size);
      return true;
    }
    return false;
  }

  std::vector<Sent> writes() const {
    std::vector<Sent> out;
    for (const Sent& s : sent) {
      if (s.code == kPortIoWrite) out.push_back(s);
    }
    return out;
  }

  bool opensOk = true;
  bool isOpen = false;
  int opens = 0;
  int closes = 0;
  std::map<std::uint32_t, std::uint32_t> registers;
  std::vector<Sent> sent;
};

class PortIoTest : public ::testing::Test {
 protected:
  void SetUp() override { portIoStartup(io, &driver); }
  void TearDown() override { portIoShutdown(io); }

  std::uint8_t controlByte() { return static_cast<std::uint8_t>(driver.registers[kControlPort]); }

  FakePortDriver driver;
  PortIo io;
};

TEST(PortRequestRecordTest, WriteByteOneToPort888) {
  FakePortDriver driver;
  PortIo io;
  portIoStartup(io, &driver);
  PortWriteByte(io, 888, 1);
  ASSERT_EQ(driver.sent.size(), 1u);
  EXPECT_EQ(driver.sent[0].code, 0x80FF0008u);
  const PortRequestRecord expected{0x78, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
  EXPECT_EQ(driver.sent[0].record, expected);
  portIoShutdown(io);
}

TEST(PortRequestRecordTest, FieldsRoundTripLittleEndian) {
  const PortRequest request{0x12345678u, kPortDoubleWord, 0xDEADBEEFu};
  const PortRequestRecord record = encodePortRequest(request);
  EXPECT_EQ(record[0], 0x78);
  EXPECT_EQ(record[3], 0x12);
  EXPECT_EQ(record[4], 0x02);
  EXPECT_EQ(record[8], 0xEF);
  EXPECT_EQ(record[11], 0xDE);
  const PortRequest back = decodePortRequest(record);
  EXPECT_EQ(back.port, request.port);
  EXPECT_EQ(back.size, request.size);
  EXPECT_EQ(back.value, request.value);
  EXPECT_EQ(decodePortReply(encodePortReply(0x01020304u)), 0x01020304u);
  EXPECT_EQ(encodePortReply(0x01020304u)[0], 0x04);
}

TEST_F(PortIoTest, ToggleFlipsBitZeroOnly) {
  driver.registers[kControlPort] = 0x00;
  toggleport(io);
  EXPECT_EQ(controlByte(), 0x01);
  driver.registers[kControlPort] = 0xFE;
  toggleport(io);
  EXPECT_EQ(controlByte(), 0xFF);
}

TEST_F(PortIoTest, ToggleTwiceLeavesTheByte) {
  for (std::uint32_t start : {0x00u, 0x01u, 0x5Au, 0xFEu, 0xFFu}) {
    driver.registers[kControlPort] = start;
    toggleport(io);
    EXPECT_NE(controlByte(), start);
    toggleport(io);
    EXPECT_EQ(controlByte(), start) << start;
  }
}

TEST_F(PortIoTest, PortoffClearsTheWholeByte) {
  driver.registers[kControlPort] = 0xFF;
  portoff(io);
  EXPECT_EQ(controlByte(), 0x00);
  porton(io);
  EXPECT_EQ(controlByte(), 0x01);
  for (const auto& w : driver.writes()) EXPECT_EQ(decodePortRequest(w.record).port, 888u);
}

TEST_F(PortIoTest, ReadsAreMaskedToTheirSize) {
  driver.registers[0x300] = 0x1234u;
  EXPECT_EQ(PortRead(io, 0x300, kPortByte), 0x34u);
  EXPECT_EQ(PortRead(io, 0x300, kPortWord), 0x1234u);
  EXPECT_EQ(PortRead(io, 0x300, kPortDoubleWord), 0xA5A51234u);
  EXPECT_EQ(PortReadByte(io, 0x300), 0x34);
}

TEST_F(PortIoTest, UnknownSizeIsNeverSent) {
  PortWrite(io, 888, 3, 1);
  EXPECT_EQ(PortRead(io, 888, 7), 0u);
  EXPECT_TRUE(driver.sent.empty());
}

TEST_F(PortIoTest, ShutdownClosesOnceAndDropsLaterWrites) {
  portIoShutdown(io);
  EXPECT_EQ(driver.closes, 1);
  EXPECT_FALSE(io.PortDriverReady);
  portoff(io);
  EXPECT_TRUE(driver.sent.empty());
  portIoShutdown(io);
  EXPECT_EQ(driver.closes, 1);
}

TEST(PortIoNoDevice, NotReadyWritesDroppedNoCrash) {
  FakePortDriver driver;
  driver.opensOk = false;
  PortIo io;
  portIoStartup(io, &driver);
  EXPECT_FALSE(io.PortDriverReady);
  portoff(io);
  porton(io);
  toggleport(io);
  EXPECT_EQ(PortReadByte(io, 888), 0);
  EXPECT_TRUE(driver.sent.empty());
  portIoShutdown(io);
  EXPECT_EQ(driver.closes, 0);
}

TEST(PortIoNoDevice, NoDriverAtAll) {
  PortIo io;
  portIoStartup(io, nullptr);
  EXPECT_FALSE(io.PortDriverReady);
  toggleport(io);
  PortWrite(io, 888, kPortDoubleWord, 0xFFFFFFFFu);
  EXPECT_EQ(PortRead(io, 888, kPortByte), 0u);
  portIoShutdown(io);
}

// A request the device refuses (another port, say) reads as 0 and the
// write is dropped; nothing else happens.
TEST_F(PortIoTest, RefusedRequestReadsZero) {
  driver.isOpen = false;  // the device went away after start-up
  driver.registers[kControlPort] = 0x55;
  EXPECT_EQ(PortReadByte(io, kControlPort), 0);
  toggleport(io);
  EXPECT_EQ(controlByte(), 0x55);
}

}  // namespace
