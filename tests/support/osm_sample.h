#pragma once
// A small OpenStreetMap extract and the rules to import it, for the tests
// of the import commands.
namespace orvela::test {

inline constexpr const char* kVaduzRules =
    "highway=residential\troad residential\t1\n"
    "amenity=cafe\tcafe\n";

// Two named streets meeting near 47.14 N 9.52 E, and a café.
inline constexpr const char* kVaduzOsm =
    "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n"
    "<node id=\"1\" lat=\"47.1400\" lon=\"9.5200\"/>\n"
    "<node id=\"2\" lat=\"47.1420\" lon=\"9.5200\"/>\n"
    "<node id=\"3\" lat=\"47.1410\" lon=\"9.5190\"/>\n"
    "<node id=\"4\" lat=\"47.1410\" lon=\"9.5210\"/>\n"
    "<node id=\"5\" lat=\"47.1412\" lon=\"9.5202\"><tag k=\"amenity\" v=\"cafe\"/>"
    "<tag k=\"name\" v=\"Linde\"/></node>\n"
    "<way id=\"10\"><nd ref=\"1\"/><nd ref=\"2\"/><tag k=\"highway\" v=\"residential\"/>"
    "<tag k=\"name\" v=\"Städtle\"/></way>\n"
    "<way id=\"11\"><nd ref=\"3\"/><nd ref=\"4\"/><tag k=\"highway\" v=\"residential\"/>"
    "<tag k=\"name\" v=\"Kirchstrasse\"/></way>\n"
    "</osm>\n";

}  // namespace orvela::test
