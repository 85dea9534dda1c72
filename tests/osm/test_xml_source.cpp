// The OSM element sources (XML and PBF) on small files written to a scratch
// folder: what they hand to their sink.
#include <gtest/gtest.h>

#include <fstream>
#include <osmium/builder/attr.hpp>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/writer.hpp>
#include <string>
#include <vector>

#include "osm/xml_source.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

using test::TempDir;

void write_file(const std::filesystem::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary) << s;
}

// What a source hands on: nodes as "id lat lon", tags as "k=v", and the
// ends of elements.
class RecordingSink final : public OsmElementSink {
 public:
  std::vector<std::string> got;
  void node(const OSMNODE& n) override {
    got.push_back(std::to_string(n.ID) + " " + std::to_string(n.LAT) + " " + std::to_string(n.LON));
  }
  void way(uint64_t id) override { got.push_back("way " + std::to_string(id)); }
  void tag(const TAGREC& t) override { got.push_back(t.K + "=" + t.V); }
  void nd(uint64_t ref) override { got.push_back("nd " + std::to_string(ref)); }
  void end(OsmElement e) override { got.push_back(e == OsmElement::node ? "/node" : "/way"); }
  bool progress(uint64_t, uint64_t) override { return false; }
};

std::vector<std::string> read_file(const std::filesystem::path& p) {
  auto src = make_element_source(p);
  EXPECT_EQ(src->open(p).status, SourceStatus::ok) << p;
  RecordingSink sink;
  EXPECT_EQ(src->read(sink).status, SourceStatus::ok) << p;
  src->close();
  return sink.got;
}

std::vector<std::string> read_source(const std::string& body) {
  TempDir dir;
  write_file(dir / "s.osm", "<?xml version='1.0'?>\n<osm>\n" + body + "</osm>\n");
  return read_file(dir / "s.osm");
}

// XML and PBF hand on the same typed events: every node and way ends,
// whether it is self-closing or has a body, and nothing of relations,
// bounds or stray tags outside an element comes through.
TEST(ElementSource, XmlAndPbfGiveTheSameEvents) {
  TempDir dir;
  write_file(
      dir / "e.osm",
      "<?xml version='1.0'?>\n<osm version=\"0.6\">\n"
      "<bounds minlat=\"1\" minlon=\"1\" maxlat=\"2\" maxlon=\"2\"/>\n"
      "<node id=\"1\" lat=\"1.5\" lon=\"2.5\"/>\n"
      "<tag k=\"stray\" v=\"after a self-closing node\"/>\n"
      "<node id=\"6199069340\" lat=\"-1\" lon=\"-2\">\n  <tag k=\"name\" v=\"Linde\"/>\n</node>\n"
      "<way id=\"3\">\n  <nd ref=\"1\"/>\n  <nd ref=\"6199069340\"/>\n"
      "  <tag k=\"highway\" v=\"service\"/>\n</way>\n"
      "<relation id=\"9\">\n  <member type=\"way\" ref=\"3\" role=\"\"/>\n"
      "  <tag k=\"type\" v=\"route\"/>\n</relation>\n"
      "</osm>\n");
  const std::vector<std::string> want = {"1 1500000 2500000",
                                         "/node",
                                         "6199069340 -1000000 -2000000",
                                         "name=Linde",
                                         "/node",
                                         "way 3",
                                         "nd 1",
                                         "nd 6199069340",
                                         "highway=service",
                                         "/way"};
  EXPECT_EQ(read_file(dir / "e.osm"), want);
  {
    namespace a = osmium::builder::attr;
    osmium::memory::Buffer buf{4096, osmium::memory::Buffer::auto_grow::yes};
    osmium::builder::add_node(buf, a::_id(1), a::_location(2.5, 1.5));
    osmium::builder::add_node(buf, a::_id(6199069340), a::_location(-2.0, -1.0),
                              a::_tag("name", "Linde"));
    osmium::builder::add_way(buf, a::_id(3), a::_nodes({1, 6199069340}),
                             a::_tag("highway", "service"));
    osmium::builder::add_relation(buf, a::_id(9), a::_member(osmium::item_type::way, 3, ""),
                                  a::_tag("type", "route"));
    osmium::io::Writer writer{osmium::io::File((dir / "e.osm.pbf").string(), "pbf"),
                              osmium::io::Header{}, osmium::io::overwrite::allow};
    writer(std::move(buf));
    writer.close();
  }
  EXPECT_EQ(read_file(dir / "e.osm.pbf"), want);
}

// Only the root element holds map data: elements before <osm> or after
// </osm> are not passed on.
TEST(ElementSource, ElementsOutsideTheRootAreNotRead) {
  TempDir dir;
  write_file(dir / "r.osm",
             "<?xml version='1.0'?>\n<node id=\"1\" lat=\"1\" lon=\"1\"><tag k=\"name\" "
             "v=\"before\"/></node>\n<osm>\n<node id=\"2\" lat=\"2\" lon=\"2\"/>\n</osm>\n"
             "<way id=\"3\"><nd ref=\"2\"/></way>\n");
  EXPECT_EQ(read_file(dir / "r.osm"), (std::vector<std::string>{"2 2000000 2000000", "/node"}));
}

// Broken XML is refused with the place where reading stopped: at or just
// after the broken spot, never before it; the detail gives that place as
// line and column and says what should have been there.
TEST(ElementSource, BrokenXmlTellsWhereAndWhat) {
  const std::string head = "<?xml version='1.0'?>\n<osm>\n<node id=\"1\" lat=\"1\" lon=\"1\"/>\n";
  struct Case {
    const char* what;
    std::string doc;
    std::string broken_at;     // the text where the damage starts
    std::string starts, ends;  // of the detail
  } cases[] = {
      {"id not a number", head + "<node id=\"1x\" lat=\"2\" lon=\"2\"/>\n</osm>\n", "1x",
       "Line 4, column 14: expected a number in id=\"1x\" of <node>.", ""},
      {"ref not a number", head + "<way id=\"2\"><nd ref=\"?\"/></way>\n</osm>\n", "?",
       "Line 4, column 24: expected a number in ref=\"?\" of <nd>.", ""},
      {"columns count characters",
       head + "<way id=\"5\"><tag k=\"name\" v=\"\u017b\u00f3\u0142\u0107\"/><nd "
              "ref=\"-\"/></way>\n</osm>\n",
       "-\"", "Line 4, column 48: expected a number in ref=\"-\" of <nd>.", ""},
      {"a long bad id is cut", head + "<way id=\"" + std::string(60, '9') + "\"/>\n</osm>\n", "99",
       "Line 4, column 71: expected a number in id=\"" + std::string(40, '9') + "...\" of <way>.",
       ""},
      {"cut inside a way", head + "<way id=\"2\"><nd ref=\"1\"/>", "<way",
       "Line 4, column 26: the file ends here, expected </way>.", ""},
      {"cut inside a node", head + "<node id=\"3\" lat=\"1\" lon=\"1\">\n <tag k=\"a\"",
       "<node id=\"3", "Line 5, column 12: the file ends here, expected </node>.", ""},
      {"no root end", head, "<node", "Line 4, column 1: the file ends here, expected </osm>.", ""},
      {"a tag name too long", head + "<" + std::string(5000, 'n') + "/>\n</osm>\n", "<nnn",
       "Line 4, column ", ": expected a name of at most 1024 bytes."},
      {"a value too long",
       head + "<node id=\"2\" lat=\"2\" lon=\"2\"><tag k=\"a\" v=\"" + std::string(70000, 'v') +
           "\"/></node>\n</osm>\n",
       "v=\"vvv", "Line 4, column ", ": expected a value of at most 65536 bytes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_file(dir / "b.osm", c.doc);
    XmlElementSource src;
    ASSERT_EQ(src.open(dir / "b.osm").status, SourceStatus::ok);
    RecordingSink sink;
    SourceResult r = src.read(sink);
    src.close();
    EXPECT_EQ(r.status, SourceStatus::bad_format);
    EXPECT_GE(r.offset, c.doc.rfind(c.broken_at));
    EXPECT_LE(r.offset, c.doc.size() + 1);
    EXPECT_EQ(r.detail.rfind(c.starts, 0), 0u) << r.detail;
    EXPECT_TRUE(r.detail.ends_with(c.ends)) << r.detail;
  }
}

// A file that is not XML at all, or packed data that breaks, says so too.
TEST(ElementSource, UnreadableXmlTellsWhat) {
  TempDir dir;
  write_file(dir / "n.osm", "\n\n<html><body>Not found</body></html>");
  XmlElementSource src;
  SourceResult r = src.open(dir / "n.osm");
  EXPECT_EQ(r.status, SourceStatus::bad_format);
  EXPECT_EQ(r.detail, "Line 3, column 6: expected an XML declaration \"<?xml\" at the start.");

  // A gzip header and then garbage: inflating it fails at once.
  write_file(dir / "g.osm.gz",
             std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + std::string(64, '\xff'));
  r = src.open(dir / "g.osm.gz");
  EXPECT_EQ(r.status, SourceStatus::bad_format);
  EXPECT_EQ(r.detail, "Line 1, column 1: the data cannot be read further (gzip data corrupt).");
}

// Coordinates are the decimal degrees rounded to micro-degrees through their
// nearest double: exact halves therefore go whichever way the double lies.
TEST(XmlSource, CoordinatesRoundToMicroDegrees) {
  struct Case {
    const char* text;
    int32_t micro;
  } cases[] = {
      {"47.1234567", 47123457},
      {"47.1234564", 47123456},
      {"-9.5000005", -9500000},
      {"0.0000005", 0},
      {"-0.0000015", -2},
      {"47.0000025", 47000002},
      {"0.0079195", 7919},
      {"0.0316765", 31677},
      {"1.0000005", 1000001},
      {"9.12345678901", 9123457},
      {"360", 360000000},
      {"-360", -360000000},
      {"360.0000001", 0},
      {"-360.000000001", 0},
      {"1e1", 10000000},
      {"12.", 12000000},
      {".5", 500000},
      {"0047.1", 47100000},
      {"-0", 0},
      {"+5", 0},
      {"-", 0},
      {"", 0},
      {"abc", 0},
      {"1.2.3", 0},
  };
  for (const auto& c : cases) {
    std::string body =
        "<node id=\"7\" lat=\"" + std::string(c.text) + "\" lon=\"" + c.text + "\"/>\n";
    std::string want = "7 " + std::to_string(c.micro) + " " + std::to_string(c.micro);
    EXPECT_EQ(read_source(body), (std::vector<std::string>{want, "/node"})) << c.text;
  }
}

// One tag record serves every <tag>: a missing key or value must not carry
// over from the tag before.
TEST(XmlSource, TagsDoNotInheritFromTheTagBefore) {
  auto got = read_source(
      "<way id=\"3\">\n<nd ref=\"1\"/>\n<tag k=\"highway\" v=\"residential street with a long "
      "name\"/>\n"
      "<tag k=\"oneway\"/>\n<tag v=\"lonely\"/>\n<tag k=\"A&amp;B\" v=\"&#x20AC;\"/>\n</way>\n");
  std::vector<std::string> want = {
      "way 3",   "nd 1",    "highway=residential street with a long name",
      "oneway=", "=lonely", "A&B=\xE2\x82\xAC",
      "/way"};
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace orvela::osm
