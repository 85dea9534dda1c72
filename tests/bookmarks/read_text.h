#pragma once
// Points and files for the file-format tests.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bookmarks/location.h"
#include "bookmarks/point_import.h"
#include "support/file_bytes.h"
#include "support/test_env.h"

namespace orvela::bookmarks::test {

using orvela::test::file_bytes;

inline LOCATION at(std::string name, int32_t lat, int32_t lon) {
  LOCATION l;
  l.NAME = std::move(name);
  l.LAT = lat;
  l.LON = lon;
  return l;
}

// What a reader made of a file.
struct Read {
  ReadStatus status;
  ARRLOC list;
  int added = 0, ignored = 0;
};

// `content` written to a file and read by `reader`, appending to `list`.
template <class Reader>
Read read_text(Reader reader, const std::string& content, ARRLOC list = {}) {
  orvela::test::TempDir dir;
  std::ofstream(dir / "f", std::ios::binary) << content;
  PointImport points(list, "Point");
  const ReadStatus st = reader(dir / "f", points);
  return {st, list, points.added(), points.ignored()};
}

}  // namespace orvela::bookmarks::test
