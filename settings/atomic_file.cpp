#include "settings/atomic_file.h"

#include <filesystem>
#include <system_error>

#include "settings/output_file.h"

bool saveAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::error_code ec;
  // The folder of the file a symbolic link names, as that file is replaced.
  const std::filesystem::path folder = std::filesystem::weakly_canonical(path, ec).parent_path();
  if (ec) return false;
  std::filesystem::create_directories(folder, ec);
  if (ec) return false;
  OutputFile out;
  if (!out.open(path)) return false;
  out.write(bytes);
  return out.commit();
}
