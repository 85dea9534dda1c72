#pragma once
// Putting the maps of a downloaded archive into the maps folder so that a
// failed or cancelled installation leaves the installed maps as they were:
// the archive is unpacked into a temporary folder in the maps folder (the
// same file system), every map in it must open as a map of this version,
// and only then are the files renamed into place.
#include <filesystem>
#include <functional>
#include <string>

namespace orvela::online {

struct InstallResult {
  // Empty on success; otherwise why nothing was installed.
  std::string error;
  bool cancelled = false;
  bool ok() const { return error.empty() && !cancelled; }
};

// Installs the archive `packfile`, which must hold the map `name` at its
// root, into `mapdir`. `cancelled` is asked while unpacking.
InstallResult install_map_archive(const std::filesystem::path& packfile,
                                  const std::filesystem::path& mapdir, const std::string& name,
                                  const std::function<bool()>& cancelled = {});

// Why `file` cannot be used as a map (not a map file, another version);
// empty when it opens as a map of this version. The file is only read.
std::string map_file_problem(const std::filesystem::path& file);
// The "date" value of a map file; empty when it has none or cannot be read.
std::string map_file_date(const std::filesystem::path& file);

}  // namespace orvela::online
