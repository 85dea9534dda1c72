#include "osm/xml_source.h"

#include <algorithm>
#include <charconv>

#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::osm {

using text::_;

namespace {

constexpr uint64_t kProgressEvery = 10000;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The usual shape of a coordinate, "-DDD.DDDDDDDDD" (sign and fraction
// optional, at most three and nine digits), read exactly in nano-degrees.
// Rounding that exact value gives the same micro-degrees as rounding the
// nearest double times a million, except exactly halfway, where the double
// may lie on either side: then, and for any other shape, false.
bool parse_coord_decimal(std::string_view s, int32_t& out) {
  static constexpr uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};
  static constexpr size_t kMaxFraction = 9;
  size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
  const bool neg = i == 1;
  uint64_t degrees = 0;
  size_t int_digits = 0;
  for (; i < s.size() && is_digit(s[i]); ++i, ++int_digits)
    degrees = degrees * 10 + static_cast<uint64_t>(s[i] - '0');
  if (int_digits == 0 || int_digits > 3) return false;
  uint64_t fraction = 0;
  size_t fraction_digits = 0;
  if (i < s.size()) {
    if (s[i++] != '.' || i == s.size()) return false;
    for (; i < s.size(); ++i, ++fraction_digits) {
      if (!is_digit(s[i]) || fraction_digits == kMaxFraction) return false;
      fraction = fraction * 10 + static_cast<uint64_t>(s[i] - '0');
    }
  }
  uint64_t nano =
      degrees * kPow10[kMaxFraction] + fraction * kPow10[kMaxFraction - fraction_digits];
  if (nano > 360 * kPow10[kMaxFraction]) {  // the double lies beyond 360 too
    out = 0;
    return true;
  }
  uint64_t rest = nano % 1000;
  if (rest == 500) return false;
  auto micro = static_cast<int32_t>(nano / 1000 + (rest > 500 ? 1 : 0));
  out = neg ? -micro : micro;
  return true;
}

// Decimal degrees to micro-degrees, halves to even; 0 when it does not parse.
int32_t parse_coord(std::string_view s) {
  int32_t fast = 0;
  if (parse_coord_decimal(s, fast)) return fast;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return 0;
  if (!(v >= -360.0 && v <= 360.0)) return 0;
  return text::round_half_even_i32(v * 1000000.0);
}

}  // namespace

bool parse_osm_id(std::string_view s, uint64_t& id) {
  bool neg = !s.empty() && s[0] == '-';
  if (neg) s.remove_prefix(1);
  if (s.empty() || s[0] < '0' || s[0] > '9') return false;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  if (neg && v > static_cast<uint64_t>(INT64_MAX)) return false;
  id = neg ? 0 - v : v;
  return true;
}

SourceResult XmlElementSource::bad_format(const std::string& what) const {
  // The parser has taken the byte it stopped at.
  const uint64_t at = xml_.fpos() > 0 ? xml_.fpos() - 1 : 0;
  const text::TextPosition pos = text::text_position(fn_, at);
  return {SourceStatus::bad_format, xml_.fpos(),
          text::STRTOKENREPLACE(_("Line {line}, column {column}: {what}."),
                                {"line", std::to_string(pos.line), "column",
                                 std::to_string(pos.column), "what", what})};
}

SourceResult XmlElementSource::unreadable(const text::IoError& e) const {
  return bad_format(
      text::STRTOKENREPLACE(_("the data cannot be read further ({reason})"), {"reason", e.what()}));
}

bool XmlElementSource::refuse() {
  // Enough of the value to recognise it, cut on a character boundary.
  std::string_view v = w_;
  size_t n = std::min<size_t>(v.size(), 40);
  while (n < v.size() && n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80) --n;
  bad_value_ = k_ + "=\"" + std::string(v.substr(0, n)) + (n < v.size() ? "...\"" : "\"");
  return false;
}

SourceResult XmlElementSource::bad_element(std::string_view name) const {
  if (xml_.malformed()) return bad_format(xml_.problem());
  return bad_format(text::STRTOKENREPLACE(_("expected a number in {attribute} of <{element}>"),
                                          {"attribute", bad_value_, "element", std::string(name)}));
}

SourceResult XmlElementSource::open(const std::filesystem::path& fn) {
  ilxmltags_ = 0;
  where_ = Where::document;
  fn_ = fn;
  if (xml_.XMLOPEN(fn) != 0) return {SourceStatus::cannot_open, 0, {}};
  std::error_code ec;
  auto size = std::filesystem::file_size(fn, ec);
  xml_.XMLFSIZE = ec ? 0 : size;
  try {
    // Anything but an XML document (an error page, a binary file) stops here.
    if (xml_.XMLGETNEXTTAG() != "?xml")
      return bad_format(_("expected an XML declaration \"<?xml\" at the start"));
  } catch (const text::IoError& e) {
    return unreadable(e);
  }
  ++ilxmltags_;
  return {};
}

bool XmlElementSource::read_node(OsmElementSink& sink) {
  OSMNODE n;
  while (xml_.res() && xml_.XMLGETNEXTTAGPAR(k_, w_)) {
    std::string_view k = k_;
    if (k == "id") {
      if (!parse_osm_id(w_, n.ID)) return refuse();
    } else if (k == "lat") {
      n.LAT = parse_coord(w_);
    } else if (k == "lon") {
      n.LON = parse_coord(w_);
    }
  }
  sink.node(n);
  if (self_closing()) {
    sink.end(OsmElement::node);
  } else {
    where_ = Where::node;
  }
  return true;
}

bool XmlElementSource::read_way(OsmElementSink& sink) {
  uint64_t id = 0;
  while (xml_.res() && xml_.XMLGETNEXTTAGPAR(k_, w_)) {
    if (std::string_view(k_) == "id" && !parse_osm_id(w_, id)) return refuse();
  }
  sink.way(id);
  if (self_closing()) {
    sink.end(OsmElement::way);
  } else {
    where_ = Where::way;
  }
  return true;
}

bool XmlElementSource::read_tag_element(OsmElementSink& sink) {
  // One record reused for every tag, so its strings keep their capacity.
  tag_.K.clear();
  tag_.V.clear();
  while (xml_.res() && xml_.XMLGETNEXTTAGPAR(k_, w_)) {
    std::string_view k = k_;
    if (k == "k") {
      tag_.K.assign(w_);
    } else if (k == "v") {
      tag_.V.assign(w_);
    }
  }
  sink.tag(tag_);
  return true;
}

bool XmlElementSource::read_nd(OsmElementSink& sink) {
  uint64_t ref = 0;
  bool have = false;
  while (xml_.res() && xml_.XMLGETNEXTTAGPAR(k_, w_)) {
    if (std::string_view(k_) == "ref") {
      if (!parse_osm_id(w_, ref)) return refuse();
      have = true;
    }
  }
  if (have) sink.nd(ref);
  return true;
}

// The closing tag of the open node or way ends it; any other closing tag
// (of a relation, a member, ...) changes nothing.
void XmlElementSource::end_element(Where w, OsmElementSink& sink) {
  if (where_ != w) return;
  sink.end(w == Where::node ? OsmElement::node : OsmElement::way);
  where_ = Where::root;
}

// One tag of the document by its name. Elements count only inside the root
// element, tags and node references only inside the element they belong
// to: relations have tags too.
bool XmlElementSource::dispatch(std::string_view name, OsmElementSink& sink) {
  if (where_ == Where::document) {
    if (name == "osm") where_ = Where::root;
    return true;
  }
  if (name == "node") return read_node(sink);
  if (name == "way") return read_way(sink);
  if (name == "tag")
    return where_ == Where::node || where_ == Where::way ? read_tag_element(sink) : true;
  if (name == "nd") return where_ == Where::way ? read_nd(sink) : true;
  if (name == "/osm") {
    where_ = Where::document;
  } else if (name == "/node") {
    end_element(Where::node, sink);
  } else if (name == "/way") {
    end_element(Where::way, sink);
  }
  return true;
}

SourceResult XmlElementSource::read(OsmElementSink& sink) {
  sink.progress(0, xml_.XMLFSIZE);
  try {
    while (xml_.res()) {
      std::string name = xml_.XMLGETNEXTTAG();
      ++ilxmltags_;
      if (!dispatch(name, sink) || xml_.malformed()) return bad_element(name);
      if (ilxmltags_ % kProgressEvery == 0 &&
          sink.progress(std::min(xml_.file_pos(), xml_.XMLFSIZE), xml_.XMLFSIZE)) {
        return {};
      }
    }
  } catch (const text::IoError& e) {
    return unreadable(e);
  }
  // A document that ends inside its root element was cut off (a broken
  // download): taking what came would pass half a map for a whole one.
  if (where_ != Where::document) {
    const char* end = where_ == Where::node  ? "</node>"
                      : where_ == Where::way ? "</way>"
                                             : "</osm>";
    return bad_format(text::STRTOKENREPLACE(_("the file ends here, expected {tag}"), {"tag", end}));
  }
  return {};
}

}  // namespace orvela::osm
