// OpenStreetMap XML (plain, bzip2 or gzip): the tokenizer on its own, then
// the element source the import reads through.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_file.h"
#include "osm/xml_source.h"
#include "text/xmlparse.h"

namespace {

class NullSink final : public orvela::osm::OsmElementSink {
 public:
  void node(const orvela::osm::OSMNODE&) override {}
  void way(uint64_t) override {}
  void tag(const orvela::osm::TAGREC&) override {}
  void nd(uint64_t) override {}
  void end(orvela::osm::OsmElement) override {}
  bool progress(uint64_t, uint64_t) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".osm");

  orvela::text::XmlParser x;
  if (x.XMLOPEN(file) == 0) {
    std::string text;
    x.set_copy_text(&text);
    std::string k, w;
    try {
      while (x.res()) {
        std::string tag = x.XMLGETNEXTTAG();
        if (tag.empty() && !x.res()) break;
        while (x.res() && x.XMLGETNEXTTAGPAR(k, w)) {
        }
        if (x.res()) x.XMLSEARCHTAGEND();
      }
    } catch (const orvela::text::IoError&) {
      // Broken packed data: the tokenizer's one way to fail, caught by every user.
    }
    x.XMLCLOSE();
  }

  orvela::osm::XmlElementSource source;
  NullSink sink;
  if (source.open(file).status == orvela::osm::SourceStatus::ok) source.read(sink);
  source.close();
  return 0;
}
