#include "bookmarks/point_import.h"

#include "text/strutil.h"
#include "text/utf8.h"

namespace orvela::bookmarks {
namespace {

uint64_t key(int32_t lat, int32_t lon) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(lat)) << 32) | static_cast<uint32_t>(lon);
}

std::string fit_name(std::string_view raw) {
  std::string s = text::repair_utf8(raw);
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return std::string(text::trim(s, " "));
}

}  // namespace

bool on_world(int64_t lat, int64_t lon) {
  return lat >= -90000000 && lat <= 90000000 && lon >= -180000000 && lon <= 180000000;
}

PointImport::PointImport(ARRLOC& list, std::string default_name)
    : list_(list), default_name_(std::move(default_name)) {
  taken_.reserve(list.size());
  for (const LOCATION& l : list) taken_.insert(key(l.LAT, l.LON));
}

void PointImport::add(std::string_view name, int32_t lat, int32_t lon) {
  if (!on_world(lat, lon) || !taken_.insert(key(lat, lon)).second) {
    ++ignored_;
    return;
  }
  LOCATION l;
  l.NAME = fit_name(name);
  if (l.NAME.empty()) l.NAME = default_name_;
  l.LAT = lat;
  l.LON = lon;
  list_.push_back(std::move(l));
  ++added_;
}

}  // namespace orvela::bookmarks
