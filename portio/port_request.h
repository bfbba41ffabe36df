// The requests the port I/O facility sends to its driver.
//
// Request record, 12 bytes, three 32-bit unsigned fields, little-endian:
//
//   offset  size  field  meaning
//   0       4     port   I/O port address
//   4       4     size   size code: 0 byte, 1 word (16 bits), 2 double word
//   8       4     value  value to write; 0 in a read request (not looked at)
//
// Read reply, 4 bytes: one 32-bit little-endian value whose low 8, 16 or 32
// bits (by size code) are the port's value.
//
// Example: writing the byte 1 to port 888 (0x378) is the record
//   78 03 00 00  00 00 00 00  01 00 00 00
// sent under kPortIoWrite.
#ifndef TINDAVEL_PORTIO_PORT_REQUEST_H_
#define TINDAVEL_PORTIO_PORT_REQUEST_H_

#include <array>
#include <cstdint>

inline constexpr std::uint32_t kPortIoDeviceType = 0x80FF;

// An I/O control code: device type in the high word, the function number
// shifted left by 2, buffered transfer (0) and any access (0).
constexpr std::uint32_t makePortIoControlCode(std::uint32_t function) {
  return (kPortIoDeviceType << 16) | (function << 2);
}

inline constexpr std::uint32_t kPortIoRead = makePortIoControlCode(1);   // 0x80FF0004
inline constexpr std::uint32_t kPortIoWrite = makePortIoControlCode(2);  // 0x80FF0008
inline constexpr std::uint32_t kPortIoSpare3 = makePortIoControlCode(3); // 0x80FF000C, not used
inline constexpr std::uint32_t kPortIoSpare4 = makePortIoControlCode(4); // 0x80FF0010, not used
static_assert(kPortIoRead == 0x80FF0004u && kPortIoWrite == 0x80FF0008u);
static_assert(kPortIoSpare3 == 0x80FF000Cu && kPortIoSpare4 == 0x80FF0010u);

// Size codes of a port access.
inline constexpr std::uint32_t kPortByte = 0;        // 8 bits
inline constexpr std::uint32_t kPortWord = 1;        // 16 bits
inline constexpr std::uint32_t kPortDoubleWord = 2;  // 32 bits

inline constexpr int kPortRequestBytes = 12;
inline constexpr int kPortReplyBytes = 4;

using PortRequestRecord = std::array<std::uint8_t, kPortRequestBytes>;
using PortReplyRecord = std::array<std::uint8_t, kPortReplyBytes>;

struct PortRequest {
  std::uint32_t port = 0;
  std::uint32_t size = kPortByte;
  std::uint32_t value = 0;
};

PortRequestRecord encodePortRequest(const PortRequest& request);
PortRequest decodePortRequest(const PortRequestRecord& record);

PortReplyRecord encodePortReply(std::uint32_t value);
std::uint32_t decodePortReply(const PortReplyRecord& reply);

// True for the size codes 0, 1 and 2.
constexpr bool isPortSizeCode(std::uint32_t size) { return size <= kPortDoubleWord; }

// The low 8, 16 or 32 bits of value for a size code; 0 for an unknown code.
std::uint32_t maskToPortSize(std::uint32_t value, std::uint32_t size);

#endif  // TINDAVEL_PORTIO_PORT_REQUEST_H_
