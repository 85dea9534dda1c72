#include "osm/osmrules.h"

#include <fstream>

#include "text/translate.h"

namespace orvela::osm {
namespace {

constexpr size_t kMaxLine = 255;

std::string strip_blanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// n tabs give n + 1 fields, each stripped of blanks.
std::vector<std::string> split_tabs(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(strip_blanks(line.substr(start, tab - start)));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

// The leading decimal number of `s` (0 when there is none), as its low 8 bits.
uint8_t leading_level(std::string_view s) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  uint32_t v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
    v = v * 10u + static_cast<uint32_t>(s[i] - '0');
  if (neg) v = 0u - v;
  return static_cast<uint8_t>(v & 0xFFu);
}

// Compares a rule's "key=value" with the tag without building the key text.
int compare_key(std::string_view tagnameval, const TAGREC& t) {
  std::string_view k = t.K;
  std::string_view first = tagnameval.substr(0, k.size());
  int c = first.compare(k);
  if (c != 0) return c;
  if (tagnameval.size() == k.size()) return -1;  // rule is a prefix of key=value
  auto eq = static_cast<unsigned char>(tagnameval[k.size()]);
  if (eq != '=') return eq < static_cast<unsigned char>('=') ? -1 : 1;
  return tagnameval.substr(k.size() + 1).compare(t.V);
}

}  // namespace

std::string parse_rule_line(const std::string& line, unsigned linen, OSMRULE& rule) {
  rule = OSMRULE{};
  std::vector<std::string> f = split_tabs(std::string_view(line).substr(0, kMaxLine));
  if (f.size() < 2) return "Osmrules: error in line " + std::to_string(linen);
  rule.TAGNAMEVAL = f[0];
  // An empty type text (an area-only rule) is never looked up: a catalogue
  // answers the empty text with its header.
  if (!f[1].empty()) rule.TYP = text::TRANSLATE(f[1]);
  if (f.size() > 2) rule.ENDLEV = leading_level(f[2]);
  if (f.size() > 3 && f[3] == "a") rule.LINETOAREA = true;
  if (rule.TAGNAMEVAL.empty()) return "osmrules: no name for rule in line " + std::to_string(linen);
  return {};
}

bool OsmRules::OSMRULES_LOAD(const std::filesystem::path& fn, const InfoFn& info) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fn, ec)) return false;
  std::ifstream in(fn, std::ios::binary);
  if (!in) return false;
  std::string line;
  unsigned linen = 0;
  while (std::getline(in, line)) {
    ++linen;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    OSMRULE rule;
    std::string err = parse_rule_line(line, linen, rule);
    if (!err.empty()) {
      if (info) info(err);
      continue;
    }
    rules_.push_back(std::move(rule));
  }
  return !in.bad();
}

std::optional<OsmRules> load_osm_rules(const std::filesystem::path& fn, const InfoFn& info) {
  OsmRules rules;
  if (!rules.OSMRULES_LOAD(fn, info)) return std::nullopt;
  rules.OSMRULES_SORT();
  return rules;
}

int OsmRules::OSMRULES_COMPARE(const OSMRULE& r1, const OSMRULE& r2) {
  int c = r1.TAGNAMEVAL.compare(r2.TAGNAMEVAL);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void OsmRules::OSMRULES_SORT() {
  // Gnome sort: equal keys are never swapped, so same-key rules keep file order.
  if (rules_.size() < 2) return;
  size_t i = 0;
  const size_t last = rules_.size() - 1;
  while (i != last) {
    if (OSMRULES_COMPARE(rules_[i], rules_[i + 1]) > 0) {
      std::swap(rules_[i], rules_[i + 1]);
      if (i > 0) --i;
    } else {
      ++i;
    }
  }
}

const OSMRULE* OsmRules::find(const TAGREC& otag) const {
  if (rules_.empty()) return nullptr;
  // Binary search with exclusive bounds.
  long low = -1;
  long high = static_cast<long>(rules_.size());
  long cur = (low + high) / 2;
  while (true) {
    int c = compare_key(rules_[static_cast<size_t>(cur)].TAGNAMEVAL, otag);
    if (c == 0) return &rules_[static_cast<size_t>(cur)];
    if (c > 0) {
      high = cur;
    } else {
      low = cur;
    }
    cur = (low + high) / 2;
    if (low + 1 == high) return nullptr;
  }
}

bool OsmRules::OSMRULES_OTAGPROC(const TAGREC& otag, map::ORVOBJREC& obj) const {
  const OSMRULE* r = find(otag);
  if (!r) return false;
  if (!r->TYP.empty()) obj.TYP = r->TYP;
  if (r->ENDLEV > 0) obj.ENDLEV = r->ENDLEV;
  if (r->LINETOAREA && obj.OBJTYPE == "l") obj.OBJTYPE.assign(1, map::OBJTYPE_POLYGON);
  return true;
}

bool OsmRules::OSMRULES_INTERNALPROC(const TAGREC& otag, map::ORVOBJREC& obj, uint64_t& ignored) {
  const std::string& k = otag.K;
  if (k == "created_by") {
    ++ignored;
  } else if (k == "name") {
    obj.NAME = otag.V;
  } else if (k == "addr:street") {
    obj.STREET = otag.V;
  } else if (k == "addr:housenumber") {
    obj.HOUSENUM = otag.V;
  } else if (k == "addr:city") {
    obj.CITY = otag.V;
  } else if (k == "addr:country") {
    obj.COUNTRY = otag.V;
  } else {
    return false;
  }
  return true;
}

}  // namespace orvela::osm
