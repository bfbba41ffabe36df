#include "app/free_space.h"

#include <filesystem>
#include <limits>
#include <system_error>

int64_t freeBytesOf(const std::string& folder) {
  std::error_code ec;
  const std::filesystem::space_info info = std::filesystem::space(folder, ec);
  if (ec || info.available == static_cast<std::uintmax_t>(-1)) return -1;
  if (info.available > static_cast<std::uintmax_t>(std::numeric_limits<int64_t>::max()))
    return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(info.available);
}

int32_t freeMegabytes(int64_t freeBytes) {
  const int64_t mb = freeBytes / 1024 / 1024;  // truncates toward zero: -1 gives 0
  if (mb > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(mb);
}

std::optional<std::string> freeSpaceWarning(int32_t megabytes) {
  if (megabytes >= kFreeSpaceWarningMb) return std::nullopt;
  return "There is only " + std::to_string(megabytes) +
         " MB left on the hard drive. Please make more space available.";
}
