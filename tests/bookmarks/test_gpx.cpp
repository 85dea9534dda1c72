// GPX waypoints written for other tools and read from them.
#include <gtest/gtest.h>

#include <fstream>

#include "bookmarks/gpx.h"
#include "read_text.h"

namespace orvela::bookmarks {
namespace {

using test::at;

test::Read read_doc(const std::string& doc) { return test::read_text(read_gpx, doc); }

TEST(Gpx, WaypointsAsWrittenWithNamesEscaped) {
  EXPECT_EQ(
      gpx_text({at("St. Mary's <old> & \"new\"", 52229676, 21012229),
                at("Ju\xC5\xBEni", -500000, -120)}),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<gpx version=\"1.1\" creator=\"Orvela\" xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n"
      "  <wpt lat=\"52.229676\" lon=\"21.012229\"><name>St. Mary&apos;s &lt;old&gt; &amp; "
      "&quot;new&quot;</name></wpt>\r\n"
      "  <wpt lat=\"-0.500000\" lon=\"-0.000120\"><name>Ju\xC5\xBEni</name></wpt>\r\n"
      "</gpx>\r\n");
  EXPECT_EQ(xml_escape(std::string("a\x01\x1f\x7f\xff"
                                   "b",
                                   6)),
            "a   \xEF\xBF\xBD"
            "b");
}

TEST(Gpx, WrittenAndReadAgainGivesTheSameNamesAndPlaces) {
  const ARRLOC list = {at("St. Mary's <old> & \"new\" \xC4\x8C"
                          "akovec",
                          52229676, 21012229),
                       at("south-west", -33868800, -151209300), at("pole", 90000000, 180000000)};
  const test::Read r = read_doc(gpx_text(list));
  ASSERT_EQ(r.status, ReadStatus::Read);
  ASSERT_EQ(r.list.size(), list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(r.list[i].NAME, list[i].NAME);
    EXPECT_EQ(r.list[i].LAT, list[i].LAT);
    EXPECT_EQ(r.list[i].LON, list[i].LON);
  }
}

TEST(Gpx, DocumentsOfOtherTools) {
  struct Case {
    const char* what;
    std::string doc;
    ReadStatus status;
    std::vector<std::string> names;
    int ignored;
  };
  const Case cases[] = {
      {"waypoints among a route and a track, with metadata and extensions",
       "<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n"
       "<!-- exported -->\n"
       "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\" creator=\"x\">\n"
       "<metadata><name>My trip</name><time>2024-05-01T10:00:00Z</time></metadata>\n"
       "<wpt lat=\"45.8150108\" lon=\"15.9819189\">\n  <ele>120</ele>\n"
       "  <time>2024-05-01T10:00:00Z</time>\n  <name>  Trg\n bana  </name>\n"
       "  <desc>square</desc><link href=\"http://x\"><text>link</text></link>\n"
       "  <extensions><osmand:name>other</osmand:name></extensions>\n</wpt>\n"
       "<rte><name>Route</name><rtept lat=\"1\" lon=\"2\"><name>R1</name></rtept></rte>\n"
       "<trk><name>Track</name><trkseg><trkpt lat=\"3\" lon=\"4\"/></trkseg></trk>\n"
       "<wpt lon='16.5' lat='-45.25'><name>Caf&#233; &amp; bar &#x263A;</name></wpt>\n"
       "</gpx>\n",
       ReadStatus::Read,
       {"Trg bana", "Caf\xC3\xA9 & bar \xE2\x98\xBA"},
       0},
      {"waypoint without a name, and an empty element",
       "<gpx><wpt lat=\"1\" lon=\"2\"></wpt><wpt lat=\"3\" lon=\"4\"/><wpt lat=\"5\" lon=\"6\">"
       "<name/></wpt></gpx>",
       ReadStatus::Read,
       {"Point", "Point", "Point"},
       0},
      {"bad or missing coordinates",
       "<gpx><wpt lat=\"91\" lon=\"2\"/><wpt lat=\"x\" lon=\"2\"/><wpt lon=\"2\"/>"
       "<wpt lat=\"1\" lon=\"2\"/><wpt lat=\"1.0000001\" lon=\"2.0000004\"/></gpx>",
       ReadStatus::Read,
       {"Point"},
       4},
      {"an unclosed waypoint ends where the next begins",
       "<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name><wpt lat=\"3\" lon=\"4\"><name>B</name></wpt>",
       ReadStatus::Read,
       {"A", "B"},
       0},
      {"another XML document",
       "<?xml version=\"1.0\"?><osm><node lat=\"1\" lon=\"2\"/></osm>",
       ReadStatus::NotSupported,
       {},
       0},
      {"a Loadstone file", "#!lscp\n10,10,\"A\",1\n", ReadStatus::NotSupported, {}, 0},
      {"empty", "", ReadStatus::NotSupported, {}, 0},
      {"binary", std::string("\x00\xff<\x01\x02>", 6), ReadStatus::NotSupported, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::Read r = read_doc(c.doc);
    EXPECT_EQ(r.status, c.status);
    std::vector<std::string> names;
    for (const LOCATION& l : r.list) names.push_back(l.NAME);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(r.ignored, c.ignored);
  }
}

TEST(Gpx, CoordinatesAreRoundedToMicroDegrees) {
  const test::Read r = read_doc(
      "<gpx><wpt lat=\"45.81501085\" lon=\"-15.98191849\"/><wpt lat=\" 1e-6 \" lon=\"0\"/></gpx>");
  ASSERT_EQ(r.list.size(), 2u);
  EXPECT_EQ(r.list[0].LAT, 45815011);
  EXPECT_EQ(r.list[0].LON, -15981918);
  EXPECT_EQ(r.list[1].LAT, 1);
}

TEST(Gpx, ANameLongerThanTheReaderTakesFailsTheFile) {
  const test::Read r = read_doc("<gpx><wpt lat=\"1\" lon=\"2\"><name>" + std::string(2 << 20, 'x') +
                                "</name></wpt></gpx>");
  EXPECT_EQ(r.status, ReadStatus::Failed);
}

}  // namespace
}  // namespace orvela::bookmarks
