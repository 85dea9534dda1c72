#include "osm/pbf_source.h"

#include <fstream>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/way.hpp>

#include "osm/xml_source.h"
#include "text/numeric.h"

namespace orvela::osm {

struct PbfElementSource::Impl {
  std::unique_ptr<osmium::io::Reader> reader;
  uint64_t size = 0;
};

PbfElementSource::PbfElementSource() : impl_(std::make_unique<Impl>()) {}
PbfElementSource::~PbfElementSource() { close(); }

bool PbfElementSource::looks_like_pbf(const std::filesystem::path& fn) {
  // A PBF file opens with a 4-byte length and a BlobHeader of type "OSMHeader".
  std::ifstream in(fn, std::ios::binary);
  char head[16] = {};
  in.read(head, sizeof head);
  return in.gcount() == sizeof head && std::string_view(head + 6, 9) == "OSMHeader";
}

SourceResult PbfElementSource::open(const std::filesystem::path& fn) {
  std::ifstream probe(fn, std::ios::binary);
  if (!probe) return {SourceStatus::cannot_open, 0};
  probe.close();
  try {
    osmium::io::File file(fn.string(), "pbf");
    // Versions, times and authors are never used: not decoding them saves
    // a good part of the decoding.
    impl_->reader = std::make_unique<osmium::io::Reader>(
        file, osmium::osm_entity_bits::node | osmium::osm_entity_bits::way,
        osmium::io::read_meta::no);
    impl_->size = impl_->reader->file_size();
  } catch (const std::exception&) {
    impl_->reader.reset();
    return {SourceStatus::bad_format, 0};
  }
  return {};
}

namespace {

void send_node(const osmium::Node& n, OsmElementSink& sink) {
  OSMNODE o;
  o.ID = static_cast<uint64_t>(n.id());
  if (n.location().valid()) {
    // The same double the XML text would parse to (an exact division of
    // the stored integer), rounded the same way, so both inputs give the same map.
    o.LAT = text::round_half_even_i32(n.location().lat_without_check() * 1000000.0);
    o.LON = text::round_half_even_i32(n.location().lon_without_check() * 1000000.0);
  }
  sink.node(o);
  for (const osmium::Tag& t : n.tags()) sink.tag({t.key(), t.value()});
  sink.end(OsmElement::node);
}

void send_way(const osmium::Way& w, OsmElementSink& sink) {
  sink.way(static_cast<uint64_t>(w.id()));
  for (const osmium::NodeRef& r : w.nodes()) sink.nd(static_cast<uint64_t>(r.ref()));
  for (const osmium::Tag& t : w.tags()) sink.tag({t.key(), t.value()});
  sink.end(OsmElement::way);
}

}  // namespace

SourceResult PbfElementSource::read(OsmElementSink& sink) {
  if (!impl_->reader) return {SourceStatus::bad_format, 0};
  sink.progress(0, impl_->size);
  uint64_t offset = 0;  // where the block being decoded starts
  try {
    while (osmium::memory::Buffer buffer = impl_->reader->read()) {
      for (const osmium::OSMObject& obj : buffer.select<osmium::OSMObject>()) {
        if (obj.type() == osmium::item_type::node) {
          send_node(static_cast<const osmium::Node&>(obj), sink);
        } else if (obj.type() == osmium::item_type::way) {
          send_way(static_cast<const osmium::Way&>(obj), sink);
        }
      }
      // One report per decoded block, like the XML reader's every few thousand tags.
      offset = std::min(impl_->reader->offset(), impl_->size);
      if (sink.progress(offset, impl_->size)) break;
    }
  } catch (const std::exception&) {
    return {SourceStatus::bad_format, offset};
  }
  return {};
}

void PbfElementSource::close() {
  if (!impl_->reader) return;
  try {
    impl_->reader->close();
  } catch (const std::exception&) {
    // The data was already handed over or refused; nothing to keep from a failed close.
  }
  impl_->reader.reset();
}

std::unique_ptr<OsmElementSource> make_element_source(const std::filesystem::path& fn) {
  if (PbfElementSource::looks_like_pbf(fn)) return std::make_unique<PbfElementSource>();
  return std::make_unique<XmlElementSource>();
}

}  // namespace orvela::osm
