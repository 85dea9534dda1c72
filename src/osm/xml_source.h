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
  // Broken data at the parser's position; `what` says what was expected there.
  SourceResult bad_format(const std::string& what) const;
  // Broken data where dispatch() or the parser stopped.
  SourceResult bad_element(std::string_view name) const;
  // A file that cannot be read on: unreadable or corrupt packed data.
  SourceResult unreadable(const text::IoError& e) const;
  // Keeps the refused attribute for bad_element(); false.
  bool refuse();

  text::XmlParser xml_;
  std::filesystem::path fn_;
  std::string bad_value_;  // with a refused element: the attribute and its value
  uint64_t ilxmltags_ = 0;
  Where where_ = Where::document;
  std::string k_, w_;  // the attribute being read
  TAGREC tag_;
};

}  // namespace orvela::osm
