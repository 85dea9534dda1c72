#pragma once
// The seam between the file formats and the conversion: a source reads an
// OpenStreetMap file (XML, packed XML or PBF) and hands its elements to a sink
// as typed events, whatever the format: a node or a way, its tags and node
// references, then the end of that element.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "osm/tagrec.h"

namespace orvela::osm {

struct OSMNODE {
  uint64_t ID = 0;
  int32_t LAT = 0;  // micro-degrees
  int32_t LON = 0;
};

// The elements a sink receives.
enum class OsmElement { node, way };

// Every node and way comes as its start, then its tags (and for a way its
// node references, in order), then end() of the same kind; elements never
// nest. Relations and everything else of the file are not passed on.
class OsmElementSink {
 public:
  virtual ~OsmElementSink() = default;
  virtual void node(const OSMNODE& n) = 0;
  virtual void way(uint64_t id) = 0;
  // A tag of the node or way begun last.
  virtual void tag(const TAGREC& t) = 0;
  // A node reference of the way begun last.
  virtual void nd(uint64_t ref) = 0;
  virtual void end(OsmElement e) = 0;
  // Reading progress in bytes of the file; reading stops once this returns true.
  virtual bool progress(uint64_t cur, uint64_t total) = 0;
};

// What opening or reading a source found.
enum class SourceStatus {
  ok,
  cannot_open,  // the file cannot be opened at all
  bad_format,   // not OpenStreetMap data, or broken data met while reading
};

struct SourceResult {
  SourceStatus status = SourceStatus::ok;
  // With bad_format, where the reader stopped: the byte of the (unpacked)
  // XML text, or of the PBF file at the start of the broken block.
  uint64_t offset = 0;
  // With bad_format, when the reader knows: where and what, for the user
  // ("Line 12, column 5: expected ...", "Block 3 ...: <decoder's reason>").
  std::string detail;
};

class OsmElementSource {
 public:
  virtual ~OsmElementSource() = default;
  // Opens the file and checks that it starts like OpenStreetMap data.
  virtual SourceResult open(const std::filesystem::path& fn) = 0;
  // Hands every element to `sink` until the end, a cancel, or broken data.
  virtual SourceResult read(OsmElementSink& sink) = 0;
  virtual void close() = 0;
};

// The source for `fn`: PBF when the file starts like one, XML (plain, bzip2 or gzip) otherwise.
std::unique_ptr<OsmElementSource> make_element_source(const std::filesystem::path& fn);

// A decimal id ("-" allowed, as editors number new objects below zero);
// false when the text is not one.
bool parse_osm_id(std::string_view s, uint64_t& id);

}  // namespace orvela::osm
