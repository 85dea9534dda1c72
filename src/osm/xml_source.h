#pragma once
// OpenStreetMap XML (plain, bzip2 or gzip) as an element source, read with
// the streaming tokenizer.
#include "osm/element_source.h"
#include "text/xmlparse.h"

namespace orvela::osm {

class XmlElementSource final : public OsmElementSource {
 public:
  SourceResult open(const std::filesystem::path& fn) override;
  SourceResult read(OsmElementSink& sink) override;
  void close() override { xml_.XMLCLOSE(); }
  // Tags read so far.
  uint64_t ILXMLTAGS() const { return ilxmltags_; }

 private:
  // Where in the document the reader is.
  enum class Where {
    document,  // outside the root element (before <osm> or after </osm>)
    root,      // inside <osm>, between elements
    node,      // inside a <node> that has a body
    way,       // inside a <way> that has a body
  };

  bool dispatch(std::string_view name, OsmElementSink& sink);
  bool read_node(OsmElementSink& sink);
  bool read_way(OsmElementSink& sink);
  bool read_tag_element(OsmElementSink& sink);
  bool read_nd(OsmElementSink& sink);
  void end_element(Where w, OsmElementSink& sink);
  bool self_closing() const { return xml_.ch() == '/'; }
  SourceResult bad_format() const { return {SourceStatus::bad_format, xml_.fpos()}; }

  text::XmlParser xml_;
  uint64_t ilxmltags_ = 0;
  Where where_ = Where::document;
  std::string k_, w_;  // the attribute being read
  TAGREC tag_;
};

}  // namespace orvela::osm
