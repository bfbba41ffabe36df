#pragma once

// The folder a test works in. ctest points TMPDIR at each test program's own
// folder, so the names need only differ between the tests of one program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

// The running test's suite and name, fit for a folder ("Rows/2" of a
// parameterised test becomes "Rows_2").
inline std::string currentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

// A fresh, empty folder <temporary folder>/<name>; what an earlier run left
// there goes first.
inline std::filesystem::path testFolder(const std::string& name = currentTestName()) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// The bytes of a file; empty when it cannot be read.
inline std::string fileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A test's folder that goes, with all it holds, when the object does.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name = currentTestName()) : path_(testFolder(name)) {}
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The fixture of tests that work in a folder of their own, `dir`. It is made
// before the test's own members and removed after they are gone, so windows
// and writers a test holds close before their folder does.
class TempFolderTest : public ::testing::Test {
 private:
  TempFolder folder_;

 protected:
  const std::filesystem::path dir = folder_.path();
};
