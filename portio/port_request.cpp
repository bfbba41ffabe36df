#include "portio/port_request.h"

namespace {

void putLittleEndian32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLittleEndian32(const std::uint8_t* in) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

PortRequestRecord encodePortRequest(const PortRequest& request) {
  PortRequestRecord record{};
  putLittleEndian32(&record[0], request.port);
  putLittleEndian32(&record[4], request.size);
  putLittleEndian32(&record[8], request.value);
  return record;
}

PortRequest decodePortRequest(const PortRequestRecord& record) {
  return {getLittleEndian32(&record[0]), getLittleEndian32(&record[4]), getLittleEndian32(&record[8])};
}

PortReplyRecord encodePortReply(std::uint32_t value) {
  PortReplyRecord reply{};
  putLittleEndian32(&reply[0], value);
  return reply;
}

std::uint32_t decodePortReply(const PortReplyRecord& reply) { return getLittleEndian32(&reply[0]); }

std::uint32_t maskToPortSize(std::uint32_t value, std::uint32_t size) {
  switch (size) {
    case kPortByte:
      return value & 0xFFu;
    case kPortWord:
      return value & 0xFFFFu;
    case kPortDoubleWord:
      return value;
    default:
      return 0;
  }
}
