#pragma once
// The seam between the file formats and the conversion: a source reads an
// OpenStreetMap file (XML, packed XML or PBF) and hands its elements to a sink
// in the order and shape of the XML (node or way, then its tags and node
// references, then the closing tag).
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "osm/tagrec.h"

namespace orvela::osm {

struct OSMNODE {
  uint64_t ID = 0;
  int32_t LAT = 0;  // micro-degrees
  int32_t LON = 0;
};

class OsmElementSink {
 public:
  virtual ~OsmElementSink() = default;
  // `has_body`: the element is not self-closing; a closing tag will follow.
  virtual void node(const OSMNODE& n, bool has_body) = 0;
  virtual void way(uint64_t id, bool has_body) = 0;
  virtual void tag(const TAGREC& t) = 0;
  virtual void nd(uint64_t ref) = 0;
  // A closing tag: "/" followed by the element name ("/node", "/way", ...).
  virtual void close_tag(std::string_view name) = 0;
  // Reading progress in bytes of the file; reading stops once this returns true.
  virtual bool progress(uint64_t cur, uint64_t total) = 0;
};

// What opening or reading a source found.
enum class SourceStatus {
  ok,
  cannot_open,  // the file cannot be opened at all
  bad_format,   // not OpenStreetMap data, or broken data met while reading
};

class OsmElementSource {
 public:
  virtual ~OsmElementSource() = default;
  // Opens the file and checks that it starts like OpenStreetMap data.
  virtual SourceStatus open(const std::filesystem::path& fn) = 0;
  // Hands every element to `sink` until the end, a cancel, or broken data.
  virtual SourceStatus read(OsmElementSink& sink) = 0;
  virtual void close() = 0;
};

// The source for `fn`: PBF when the file starts like one, XML (plain, bzip2 or gzip) otherwise.
std::unique_ptr<OsmElementSource> make_element_source(const std::filesystem::path& fn);

// A decimal id ("-" allowed, as editors number new objects below zero);
// false when the text is not one.
bool parse_osm_id(std::string_view s, uint64_t& id);

}  // namespace orvela::osm
