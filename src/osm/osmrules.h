#pragma once
// The rules of "osm.rules": which OSM tag gives an object its type text, its
// end level and its shape. Loaded and sorted once per import, then matched
// against every tag of every node and way.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "map/orvobj.h"
#include "osm/tagrec.h"

namespace orvela::osm {

struct OSMRULE {
  std::string TAGNAMEVAL;  // key=value exactly as in OSM data
  std::string TYP;         // type text, already translated
  uint8_t ENDLEV = 0;      // 0 leaves the object's end level alone
  bool LINETOAREA = false;
};

// Shows one information box (the rules loader reports faulty lines with it).
using InfoFn = std::function<void(const std::string&)>;

class OsmRules {
 public:
  // Appends one rule per valid line of `fn`, in file order; faulty lines are
  // reported through `info` and skipped. False when the file cannot be read.
  bool OSMRULES_LOAD(const std::filesystem::path& fn, const InfoFn& info);
  // Stable sort by TAGNAMEVAL.
  void OSMRULES_SORT();
  // Looks key=value up and applies the rule found to `obj`; true when found.
  bool OSMRULES_OTAGPROC(const TAGREC& otag, map::ORVOBJREC& obj) const;
  // The tags handled before the rules: name, address parts, created_by.
  // True when `otag` was one of them; created_by counts in `ignored`.
  static bool OSMRULES_INTERNALPROC(const TAGREC& otag, map::ORVOBJREC& obj, uint64_t& ignored);
  // Byte-wise order of two rules' TAGNAMEVAL: negative, zero or positive.
  static int OSMRULES_COMPARE(const OSMRULE& r1, const OSMRULE& r2);

  const std::vector<OSMRULE>& rules() const { return rules_; }
  void add(OSMRULE r) { rules_.push_back(std::move(r)); }

 private:
  const OSMRULE* find(const TAGREC& otag) const;
  std::vector<OSMRULE> rules_;
};

// Loads the rules of `fn` and sorts them (OSMRULES_LOAD, OSMRULES_SORT);
// faulty lines are reported through `info`. Nothing when the file cannot be read.
std::optional<OsmRules> load_osm_rules(const std::filesystem::path& fn, const InfoFn& info);

// Parses one line of the rules file; fills `rule` and returns an empty text,
// or returns the information-box text for a faulty line.
std::string parse_rule_line(const std::string& line, unsigned linen, OSMRULE& rule);

}  // namespace orvela::osm
