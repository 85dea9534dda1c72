#pragma once
// GPX 1.1 waypoints (<wpt lat lon><name>), the file format every GPS device
// and map tool reads: bookmarks are written as waypoints and waypoints read
// as bookmarks.
#include <filesystem>
#include <string>
#include <string_view>

#include "bookmarks/location.h"
#include "bookmarks/point_import.h"

namespace orvela::bookmarks {

// `s` fit for XML text and attribute values: the five special characters as
// entities, control characters as blanks, bytes that are no UTF-8 as U+FFFD.
std::string xml_escape(std::string_view s);

// The whole GPX document with one waypoint per entry, names as entered.
std::string gpx_text(const ARRLOC& list);

// Reads the waypoints of a GPX document into `points`: NotSupported when the
// document's root is no <gpx> element. A waypoint without a usable latitude
// or longitude is ignored; routes and tracks are not waypoints and are skipped.
ReadStatus read_gpx(const std::filesystem::path& file, PointImport& points);

}  // namespace orvela::bookmarks
