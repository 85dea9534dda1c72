#include "osm/pbf_source.h"

#include <fstream>
#include <optional>
#include <osmium/io/detail/pbf_decoder.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/way.hpp>
#include <protozero/pbf_reader.hpp>

#include "osm/xml_source.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::osm {

struct PbfElementSource::Impl {
  std::unique_ptr<osmium::io::Reader> reader;
  uint64_t size = 0;
  std::filesystem::path fn;
};

namespace {

struct BlockAt {
  uint64_t number = 0;  // from 1, the header block
  uint64_t offset = 0;  // where its length prefix starts
};

// The first block of the file that cannot be read or decoded. libosmium
// decodes blocks on other threads and reads ahead, so neither the buffers
// it returned nor its read position tell which block broke: after a failure
// the blocks are taken one by one on this thread, the same way.
std::optional<BlockAt> first_bad_block(const std::filesystem::path& fn) {
  namespace od = osmium::io::detail;
  std::ifstream in(fn, std::ios::binary);
  BlockAt at;
  for (at.number = 1;; ++at.number) {
    char len[4];
    in.read(len, sizeof len);
    if (in.gcount() == 0) return std::nullopt;  // a clean end: every block decoded
    try {
      if (in.gcount() != sizeof len) return at;
      const uint32_t header_size = (uint32_t{static_cast<uint8_t>(len[0])} << 24) |
                                   (uint32_t{static_cast<uint8_t>(len[1])} << 16) |
                                   (uint32_t{static_cast<uint8_t>(len[2])} << 8) |
                                   uint32_t{static_cast<uint8_t>(len[3])};
      if (header_size > static_cast<uint32_t>(od::max_blob_header_size)) return at;
      std::string header(header_size, '\0');
      in.read(header.data(), header_size);
      if (static_cast<uint32_t>(in.gcount()) != header_size) return at;
      std::string_view type;
      uint64_t data_size = 0;
      protozero::pbf_reader h(header);
      while (h.next()) {
        if (h.tag() == 1 && h.wire_type() == protozero::pbf_wire_type::length_delimited) {
          protozero::data_view v = h.get_view();
          type = {v.data(), v.size()};
        } else if (h.tag() == 3 && h.wire_type() == protozero::pbf_wire_type::varint) {
          data_size = static_cast<uint64_t>(h.get_int32());
        } else {
          h.skip();
        }
      }
      const bool first = at.number == 1;
      if (data_size == 0 || data_size > od::max_uncompressed_blob_size ||
          type != (first ? "OSMHeader" : "OSMData"))
        return at;
      std::string blob(data_size, '\0');
      in.read(blob.data(), static_cast<std::streamsize>(data_size));
      if (static_cast<uint64_t>(in.gcount()) != data_size) return at;
      if (first) {
        od::decode_header(blob);
      } else {
        od::PBFDataBlobDecoder(std::move(blob), osmium::osm_entity_bits::all,
                               osmium::io::read_meta::yes)();
      }
      at.offset += sizeof len + header_size + data_size;
    } catch (const std::exception&) {
      return at;
    }
  }
}

// "Block N (from byte B): reason", or the reason alone when no block is to blame.
std::string pbf_detail(const std::filesystem::path& fn, const std::exception& e) {
  const std::optional<BlockAt> at = first_bad_block(fn);
  if (!at) return e.what();
  return text::STRTOKENREPLACE(text::_("Block {block} (from byte {offset}): {reason}"),
                               {"block", std::to_string(at->number), "offset",
                                std::to_string(at->offset), "reason", e.what()});
}

}  // namespace

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
  if (!probe) return {SourceStatus::cannot_open, 0, {}};
  probe.close();
  impl_->fn = fn;
  try {
    osmium::io::File file(fn.string(), "pbf");
    // Versions, times and authors are never used: not decoding them saves
    // a good part of the decoding.
    impl_->reader = std::make_unique<osmium::io::Reader>(
        file, osmium::osm_entity_bits::node | osmium::osm_entity_bits::way,
        osmium::io::read_meta::no);
    impl_->size = impl_->reader->file_size();
  } catch (const std::exception& e) {
    impl_->reader.reset();
    return {SourceStatus::bad_format, 0, pbf_detail(fn, e)};
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
  if (!impl_->reader) return {SourceStatus::bad_format, 0, {}};
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
  } catch (const std::exception& e) {
    return {SourceStatus::bad_format, offset, pbf_detail(impl_->fn, e)};
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
