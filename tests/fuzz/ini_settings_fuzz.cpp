// Fuzz target: the INI model and the settings store. The input is a store
// file (or any INI text): parsed and written back (every answer survives
// the round trip), loaded by Read_Registry, saved by Write_Registry, and
// loaded once more from what was saved (the same values come back).
#include <cstddef>
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
  fuzz::check(a.sectionNames() == b.sectionNames(), "the same sections after a round trip");
  for (const std::string& section : a.sectionNames()) {
    const std::vector<std::string> keys = a.keys(section);
    fuzz::check(keys == b.keys(section), "the same keys after a round trip");
    for (const std::string& key : keys) {
      fuzz::check(a.value(section, key) == b.value(section, key), "the same value after a round trip");
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

  const std::string path = fuzz::writeScratchFile("Eka Registry.ini", bytes);
  // Loaded and saved through one store, as the program does.
  SettingsVariables v1;
  SettingsModel c1;
  SettingsStore store(path);
  Read_Registry(v1, c1, store);
  const std::vector<StoreValue> loaded = registryValues(v1, c1);
  fuzz::check(Write_Registry(v1, c1, store), "a loaded store saves");
  SettingsVariables v2;
  SettingsModel c2;
  SettingsStore again(path);
  Read_Registry(v2, c2, again);
  fuzz::check(registryValues(v2, c2) == loaded, "a saved store loads the values it saved");
  return 0;
}
