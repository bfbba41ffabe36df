// The fuzz targets as plain tests: runs LLVMFuzzerTestOneInput once over
// every file in the folders (or files) it is given, so the ctest build
// (any compiler, no libFuzzer) replays the seeds and every input a campaign
// found. A broken invariant aborts, a sanitizer report fails the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// libFuzzer's own mutator, which a target's custom mutator may call: never
// called here, where nothing mutates.
extern "C" size_t LLVMFuzzerMutate(uint8_t* /*data*/, size_t size, size_t /*maxSize*/);
extern "C" size_t LLVMFuzzerMutate(uint8_t* /*data*/, size_t size, size_t /*maxSize*/) { return size; }

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path given(argv[i]);
    if (fs::is_directory(given)) {
      for (const fs::directory_entry& e : fs::directory_iterator(given)) {
        if (e.is_regular_file()) inputs.push_back(e.path());
      }
    } else if (fs::is_regular_file(given)) {
      inputs.push_back(given);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const fs::path& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s\n", path.string().c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}
