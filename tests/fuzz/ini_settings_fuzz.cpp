// Fuzz target: the INI model and the settings store. The input is a store
// file (or any INI text): parsed and written back (every answer survives
// the round trip), loaded by Read_Registry, saved by Write_Registry, and
// loaded once more from what was saved (the same values come back).
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_file.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Every section, key and value a reader can see in `a` reads the same in `b`.
void checkSameAnswers(const IniFile& a, const IniFile& b) {
  const std::vector<std::string> sections = a.sectionNames();
  fuzz::check(sections == b.sectionNames(), "the same sections after a round trip");
  for (const std::string& section : sections) {
    const std::vector<std::string> keys = a.keys(section);
    fuzz::check(keys == b.keys(section), "the same keys after a round trip");
    const IniFile::SectionView inA = a.section(section);
    const IniFile::SectionView inB = b.section(section);
    for (const std::string& key : keys) {
      fuzz::check(inA.value(key) == inB.value(key), "the same value after a round trip");
      fuzz::check(inA.value(key) == a.value(section, key), "a section read once reads as the file");
    }
  }
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  IniFile ini = IniFile::fromBytes(bytes);
  checkSameAnswers(ini, IniFile::fromBytes(ini.serialize()));
  // Every value read, set again under a key of its own as the store's
  // writer sets values (values are UTF-8 once read), reads back the same
  // from the lines at once and after a fresh read.
  int copies = 0;
  for (const std::string& section : ini.sectionNames()) {
    for (const std::string& key : ini.keys(section)) {
      const std::optional<std::string> value = ini.value(section, key);
      const std::string copy = "Copy" + std::to_string(++copies);
      ini.setValue("Fuzz Copy", copy, *value);
      fuzz::check(ini.value("Fuzz Copy", copy) == value, "a value set reads back");
    }
  }
  checkSameAnswers(ini, IniFile::fromBytes(ini.serialize()));

  // Loaded and saved through one store, as the program does. The store is
  // made before the file is there (the last input's was removed), so only
  // Read_Registry reads it: a store reads its file when it is made as well.
  const std::string path = fuzz::scratchPath("Eka Registry.ini");
  SettingsStore store(path);
  fuzz::writeScratchFile("Eka Registry.ini", bytes);
  SettingsVariables v1;
  SettingsModel c1;
  Read_Registry(v1, c1, store);
  const std::vector<StoreValue> loaded = registryValues(v1, c1);
  fuzz::check(Write_Registry(v1, c1, store), "a loaded store saves");
  // Read_Registry reads the file afresh, so the same store loads what was
  // saved (a new store would only read it once more first).
  SettingsVariables v2;
  SettingsModel c2;
  Read_Registry(v2, c2, store);
  fuzz::check(registryValues(v2, c2) == loaded, "a saved store loads the values it saved");
  std::remove(path.c_str());
  return 0;
}
