#pragma once
// What the file readers hand over: points appended to the bookmark list,
// each refused when some entry already stands at exactly its coordinates
// (so loading a file twice adds nothing the second time), and counted.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "bookmarks/location.h"

namespace orvela::bookmarks {

// How reading a bookmark file ended.
enum class ReadStatus {
  Read,          // every point was added or counted as ignored
  NotSupported,  // not a file of the format: nothing was added
  Failed,        // the file could not be opened or read to its end
};

class PointImport {
 public:
  // Appends to `list`; `default_name` names a point whose file gives it none.
  PointImport(ARRLOC& list, std::string default_name);

  // Adds the point unless its coordinates are taken or off the world, in
  // which case it counts as ignored. The name is made fit to show and speak:
  // bytes that are no UTF-8 become U+FFFD, control characters blanks.
  void add(std::string_view name, int32_t lat, int32_t lon);
  // A line or element that is no point at all.
  void ignore() { ++ignored_; }

  int added() const { return added_; }
  int ignored() const { return ignored_; }

 private:
  ARRLOC& list_;
  std::string default_name_;
  std::unordered_set<uint64_t> taken_;
  int added_ = 0;
  int ignored_ = 0;
};

// True for coordinates on the world: latitude within +-90, longitude within
// +-180 degrees (micro-degrees).
bool on_world(int64_t lat, int64_t lon);

}  // namespace orvela::bookmarks
