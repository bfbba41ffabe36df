// The free-space warning of the first-time initialisation.
#ifndef TINDAVEL_APP_FREE_SPACE_H_
#define TINDAVEL_APP_FREE_SPACE_H_

#include <cstdint>
#include <optional>
#include <string>

inline constexpr int32_t kFreeSpaceWarningMb = 500;

// Free bytes on the file system of `folder` that this user may use, or -1
// when they cannot be found out.
int64_t freeBytesOf(const std::string& folder);

// Whole megabytes (1024 x 1024 bytes, rounded down) of a free-byte figure;
// -1 (unknown) gives 0. Figures past the 32-bit range stay at its largest
// value instead of wrapping round to a negative number, which would raise a
// false warning on a very large disk.
int32_t freeMegabytes(int64_t freeBytes);

// The warning for `megabytes` free, or nothing when there is enough space.
std::optional<std::string> freeSpaceWarning(int32_t megabytes);

#endif  // TINDAVEL_APP_FREE_SPACE_H_
