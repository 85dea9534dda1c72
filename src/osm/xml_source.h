#pragma once
// OpenStreetMap XML (plain, bzip2 or gzip) as an element source, read with
// the streaming tokenizer.
#include "osm/element_source.h"
#include "text/xmlparse.h"

namespace orvela::osm {

class XmlElementSource final : public OsmElementSource {
 public:
  SourceStatus open(const std::filesystem::path& fn) override;
  SourceStatus read(OsmElementSink& sink) override;
  void close() override { xml_.XMLCLOSE(); }
  // Tags read so far.
  uint64_t ILXMLTAGS() const { return ilxmltags_; }

 private:
  bool read_node(OsmElementSink& sink);
  bool read_way(OsmElementSink& sink);
  bool read_tag(OsmElementSink& sink);
  bool read_nd(OsmElementSink& sink);
  bool self_closing() const { return xml_.ch() == '/'; }

  text::XmlParser xml_;
  uint64_t ilxmltags_ = 0;
  bool in_root_ = false;  // inside <osm>, waiting for its closing tag
  std::string k_, w_;     // the attribute being read
  TAGREC tag_;
};

}  // namespace orvela::osm
