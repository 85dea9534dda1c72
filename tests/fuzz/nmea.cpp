// NMEA 0183 from a receiver's serial port or a recorded log: bytes cut into
// lines, each line parsed into the GPS state.
#include "gps/nmea.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gps/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orvela::gps::LineSplitter lines;
  orvela::gps::NmeaParser parser;
  // Bytes arrive from the port in pieces: split the input where a 0x01 byte
  // is, so that lines cut across reads are covered too.
  while (!bytes.empty()) {
    size_t cut = bytes.find('\x01');
    std::string_view piece = bytes.substr(0, cut);
    for (const auto& line : lines.feed(piece)) parser.NMEAPROCESS(line);
    bytes.remove_prefix(cut == std::string_view::npos ? bytes.size() : cut + 1);
  }
  for (const auto& line : lines.finish()) parser.NMEAPROCESS(line);
  return 0;
}
