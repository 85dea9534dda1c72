#include "gps/state_list.h"

#include <array>
#include <fstream>

#include "gps/lines.h"

namespace orvela::gps {

void GpsStateList::GPSLINSORUPDATE(const GPSSTATEREC& gs) {
  if (!entries_.empty() && entries_.back().TIME == gs.TIME)
    entries_.back() = gs;
  else
    entries_.push_back(gs);
}

int32_t NMEAREADLOG(const std::filesystem::path& FN, GpsStateList& list) {
  list.GPSLDESTROY();
  std::ifstream in(FN, std::ios::binary);
  if (!in) return -1;
  NmeaParser parser;
  LineSplitter splitter;
  int32_t accepted = 0;
  auto take = [&](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      if (!parser.NMEAPROCESS(line)) continue;
      if (accepted < INT32_MAX) ++accepted;
      list.GPSLINSORUPDATE(parser.GPSTATE);
    }
  };
  std::array<char, 65536> block;
  while (in.read(block.data(), block.size()) || in.gcount() > 0)
    take(splitter.feed({block.data(), static_cast<std::size_t>(in.gcount())}));
  // A folder, or a read error in the middle: not a log that was read.
  if (in.bad()) {
    list.GPSLDESTROY();
    return -1;
  }
  take(splitter.finish());
  return accepted;
}

}  // namespace orvela::gps
