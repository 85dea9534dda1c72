#include "map/priority.h"

#include <array>

namespace orvela::map {

namespace {

enum class LineKind { Road, Footpath };

struct LinePrefix {
  std::string_view prefix;
  LineKind kind;
};

// Maps are made with Polish or English type words. Road and rail words come
// first: the footpath words count only when none of them matched.
constexpr std::array<LinePrefix, 10> LINE_PREFIXES = {{
    {"droga", LineKind::Road},
    {"road", LineKind::Road},
    {"arteria", LineKind::Road},
    {"arterial", LineKind::Road},
    {"tramwaj", LineKind::Road},
    {"tram", LineKind::Road},
    {"tory", LineKind::Road},
    {"railway", LineKind::Road},
    {"szlak pieszy", LineKind::Footpath},
    {"footpath", LineKind::Footpath},
}};

int32_t line_priority(const ORVOBJREC& o) {
  for (const LinePrefix& p : LINE_PREFIXES) {
    if (!SPREFIX(o.TYP, p.prefix)) continue;
    if (p.kind == LineKind::Footpath) return 5;
    return o.NAME.empty() ? 4 : 6;
  }
  return 3;
}

}  // namespace

int32_t object_priority(const ORVOBJREC& o) {
  switch (objtype_letter(o)) {
    case OBJTYPE_INTERSECTION:
      return 8;
    case OBJTYPE_POI:
      return 7;
    case OBJTYPE_LINE:
      return line_priority(o);
    case OBJTYPE_ADDRESS:
      return 2;
    default:
      return 0;
  }
}

}  // namespace orvela::map
