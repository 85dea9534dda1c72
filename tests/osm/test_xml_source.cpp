// The OSM XML source on small documents written to a scratch folder: what
// it hands to its sink.
#include <gtest/gtest.h>

#include <fstream>
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

// What the XML source hands on: nodes as "id lat lon", tags as "k=v".
class RecordingSink final : public OsmElementSink {
 public:
  std::vector<std::string> got;
  void node(const OSMNODE& n, bool) override {
    got.push_back(std::to_string(n.ID) + " " + std::to_string(n.LAT) + " " + std::to_string(n.LON));
  }
  void way(uint64_t id, bool) override { got.push_back("way " + std::to_string(id)); }
  void tag(const TAGREC& t) override { got.push_back(t.K + "=" + t.V); }
  void nd(uint64_t ref) override { got.push_back("nd " + std::to_string(ref)); }
  void close_tag(std::string_view) override {}
  bool progress(uint64_t, uint64_t) override { return false; }
};

std::vector<std::string> read_source(const std::string& body) {
  TempDir dir;
  write_file(dir / "s.osm", "<?xml version='1.0'?>\n<osm>\n" + body + "</osm>\n");
  XmlElementSource src;
  EXPECT_EQ(src.open(dir / "s.osm"), SourceStatus::ok);
  RecordingSink sink;
  EXPECT_EQ(src.read(sink), SourceStatus::ok);
  return sink.got;
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
    EXPECT_EQ(read_source(body), std::vector<std::string>{want}) << c.text;
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
      "oneway=", "=lonely", "A&B=\xE2\x82\xAC"};
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace orvela::osm
