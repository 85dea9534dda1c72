#pragma once
// A log's fixes in playing order: one entry per second of the log, each
// the state after the last accepted sentence of that second (a "GPGGA"
// and the "GPGSV" sentences after it merge into one entry).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "gps/nmea.h"

namespace orvela::gps {

class GpsStateList {
 public:
  // Stores `gs` as a new last entry, or over the last entry when that has
  // the same TIME.
  void GPSLINSORUPDATE(const GPSSTATEREC& gs);
  // Empties the list.
  void GPSLDESTROY() { entries_.clear(); }

  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  const GPSSTATEREC& operator[](std::size_t i) const { return entries_[i]; }

 private:
  std::vector<GPSSTATEREC> entries_;
};

// Reads the log file `FN` into `list` (replacing what it held): every line
// goes through a parser of its own and each accepted sentence updates the
// list. Returns the number of accepted sentences, or -1 when the file
// cannot be opened or read.
int32_t NMEAREADLOG(const std::filesystem::path& FN, GpsStateList& list);

}  // namespace orvela::gps
