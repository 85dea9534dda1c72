// osm.rules: the table that turns OpenStreetMap tags into the map's object
// types; users edit it by hand.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_file.h"
#include "osm/osmrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".rules");
  auto rules = orvela::osm::load_osm_rules(file, [](const std::string&) {});
  if (rules) {
    // Look every rule's own tag up again, as the import does for each tag.
    for (const auto& r : rules->rules()) {
      orvela::osm::TAGREC t;
      auto eq = r.TAGNAMEVAL.find('=');
      t.K = r.TAGNAMEVAL.substr(0, eq);
      if (eq != std::string::npos) t.V = r.TAGNAMEVAL.substr(eq + 1);
      orvela::map::ORVOBJREC obj;
      rules->OSMRULES_OTAGPROC(t, obj);
    }
  }
  return 0;
}
