#include "osm/import_progress.h"

#include "osm/osmreader.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::osm {

std::string GETTIMESTR(uint32_t tisec) {
  if (tisec > 60) {
    auto minutes = text::round_half_even_i64(tisec / 60.0);
    return text::STRTOKENREPLACE(text::_("{ti} minutes"), {"ti", std::to_string(minutes)});
  }
  return text::STRTOKENREPLACE(text::_("{ti} seconds"), {"ti", std::to_string(tisec)});
}

std::string ImportProgressText::text(uint64_t cur, uint64_t total, Clock::time_point now) const {
  if (total == 0) {
    switch (cur) {
      case OSMREAD_EVMAPINIT:
        return text::_("Initializing map...");
      case OSMREAD_EVMAPINTERSECTIONS:
        return text::_("Detecting intersections...");
      case OSMREAD_EVMAPCLOSE:
        return text::_("Closing map...");
      default:
        return {};
    }
  }
  double f = static_cast<double>(cur) / static_cast<double>(total);
  if (!(f > 0)) return {};
  auto perc = text::round_half_even_i64(100.0 * f);
  double elapsed = std::chrono::duration<double, std::milli>(now - start_).count();
  double remaining = text::round_half_even(elapsed / f) - elapsed;
  auto seconds = text::round_half_even_i64(remaining / 1000.0);
  if (seconds < 0) seconds = 0;
  return text::STRTOKENREPLACE(
      text::_("{perc} percent done. Time remaining about {time}"),
      {"perc", std::to_string(perc), "time",
       GETTIMESTR(static_cast<uint32_t>(std::min<int64_t>(seconds, UINT32_MAX)))});
}

}  // namespace orvela::osm
