#pragma once
// The pieces of the program update check and the web map view that stand
// on their own: where the version file lies, what it says, the time of the
// last automatic check in "update.dat", and the viewer's address.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::online {

// Minutes between two automatic checks.
inline constexpr int UPDATECHECKINTERVALMIN = 360;

// The version file "ver.dat" at the root of the home page's site.
std::string version_file_url(std::string_view home_page);

// The newest version a version file names: its first line is exactly
// "orvela", its second the version. Nothing for any other content.
std::optional<std::string> parse_version_file(std::string_view text);

// Now as days since 1899-12-30 00:00 local time, the time of day as the
// fraction.
double now_days();
// The time of the last automatic check from "update.dat" (8 bytes, a
// little-endian IEEE double of such days); 0 when the file is missing or of
// another length.
double read_update_dat(const std::filesystem::path& file);
// Writes it; false when the file cannot be written.
bool write_update_dat(const std::filesystem::path& file, double days);
// True when the whole minutes between `last` and `now` (either way round)
// reach the interval.
bool update_check_due(double last, double now);

// The viewer's page centred on and marking (lat, lon), micro-degrees.
std::string ump_www_url(std::string_view viewer, int32_t lat, int32_t lon);

}  // namespace orvela::online
