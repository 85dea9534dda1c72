#include "bookmarks/gpx.h"

#include <fmt/format.h>

#include <optional>

#include "text/convert.h"
#include "text/istrm.h"
#include "text/strutil.h"
#include "text/utf8.h"
#include "text/xmlparse.h"

namespace orvela::bookmarks {
namespace {

// The text of an element with its entities and character references decoded.
std::string decode_entities(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const std::size_t semi = s[i] == '&' ? s.find(';', i) : std::string_view::npos;
    if (semi == std::string_view::npos || semi - i > text::XmlParser::kMaxEntityLen) {
      out += s[i];
      continue;
    }
    out += text::XMLENTITYCONV(s.substr(i + 1, semi - i - 1));
    i = semi;
  }
  return out;
}

// The waypoint being read, between <wpt> and </wpt>.
struct Waypoint {
  bool open = false;
  bool named = false;
  std::optional<int32_t> lat, lon;
  std::string name;
};

class GpxReader {
 public:
  explicit GpxReader(PointImport& points) : points_(points) {}

  ReadStatus read(const std::filesystem::path& file) {
    if (x_.XMLOPEN(file) != 0) return ReadStatus::Failed;
    try {
      while (x_.res()) {
        // A line break before the attributes ends up in the name.
        const std::string tag(text::trim_right(x_.XMLGETNEXTTAG()));
        if (tag.empty()) continue;
        if (!root_seen_ && !prolog(tag)) return ReadStatus::NotSupported;
        element(tag);
      }
    } catch (const text::IoError&) {
      return ReadStatus::Failed;
    }
    if (x_.malformed()) return ReadStatus::Failed;
    return root_seen_ ? ReadStatus::Read : ReadStatus::NotSupported;
  }

 private:
  // Before the root: the declaration, comments and doctype are passed over,
  // any other element than <gpx> is the wrong document.
  bool prolog(const std::string& tag) {
    if (tag == "gpx") root_seen_ = true;
    return root_seen_ || tag.front() == '?' || tag.front() == '!';
  }

  void element(const std::string& tag) {
    if (tag == "wpt") {
      start_waypoint();
    } else if (tag == "name" && wpt_.open && !wpt_.named) {
      wpt_.name = element_text();
      wpt_.named = true;
    } else if (tag == "/wpt" && wpt_.open) {
      end_waypoint();
    } else {
      x_.XMLSEARCHTAGEND();
    }
  }

  void start_waypoint() {
    if (wpt_.open) end_waypoint();  // an unclosed waypoint ends where the next begins
    wpt_ = Waypoint{};
    wpt_.open = true;
    std::string k, w;
    while (x_.XMLGETNEXTTAGPAR(k, w)) {
      int32_t v = 0;
      if ((k == "lat" || k == "lon") && text::STRGETCOORD(w, v))
        (k == "lat" ? wpt_.lat : wpt_.lon) = v;
    }
    const bool empty_element = x_.ch() == '/';
    x_.XMLSEARCHTAGEND();
    if (empty_element) end_waypoint();
  }

  void end_waypoint() {
    if (wpt_.lat && wpt_.lon)
      points_.add(wpt_.name, *wpt_.lat, *wpt_.lon);
    else
      points_.ignore();
    wpt_ = Waypoint{};
  }

  // The text up to the next tag, white space folded to single blanks.
  std::string element_text() {
    if (x_.ch() == '/') {  // <name/>
      x_.XMLSEARCHTAGEND();
      return {};
    }
    x_.XMLSEARCHTAGEND();
    std::string raw;
    x_.set_copy_text(&raw);
    x_.XMLSEARCHNEXTTAG();
    x_.set_copy_text(nullptr);
    std::string s = decode_entities(raw);
    for (char& c : s)
      if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return std::string(text::trim(text::DELDBLSPC(s), " "));
  }

  PointImport& points_;
  text::XmlParser x_;
  bool root_seen_ = false;
  Waypoint wpt_;
};

}  // namespace

std::string xml_escape(std::string_view s) {
  const std::string valid = text::repair_utf8(s);
  std::string out;
  out.reserve(valid.size());
  for (char c : valid) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c;
    }
  }
  return out;
}

std::string gpx_text(const ARRLOC& list) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<gpx version=\"1.1\" creator=\"Orvela\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n";
  out.reserve(out.size() + list.size() * 90);
  for (const LOCATION& l : list)
    out += fmt::format("  <wpt lat=\"{}\" lon=\"{}\"><name>{}</name></wpt>\r\n",
                       degrees_text(l.LAT), degrees_text(l.LON), xml_escape(l.NAME));
  out += "</gpx>\r\n";
  return out;
}

ReadStatus read_gpx(const std::filesystem::path& file, PointImport& points) {
  return GpxReader(points).read(file);
}

}  // namespace orvela::bookmarks
