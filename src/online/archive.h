#pragma once
// Unpacking the 7z archives that maps are published in. An archive comes
// from a server, so nothing in it may write outside the folder it is
// unpacked into: an entry whose own path is absolute or climbs with "..",
// and any link, refuses the whole archive.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::online {

struct UnpackResult {
  // Empty when every item was unpacked; otherwise why it stopped.
  std::string error;
  // Stopped because `cancelled` said so (error is empty then).
  bool cancelled = false;
  // The files written, relative to the destination, in archive order.
  std::vector<std::filesystem::path> files;

  bool ok() const { return error.empty() && !cancelled; }
};

// UNPACKFILE: extracts every item of the 7z archive `PACKFILE` into the
// folder `DESTDIR`. Files are created with the folders of their path (or
// overwritten); folder items create nothing by themselves. `cancelled` is
// asked between blocks of data. What was written before a failure stays:
// callers unpack into a folder of their own.
UnpackResult UNPACKFILE(const std::filesystem::path& PACKFILE, const std::filesystem::path& DESTDIR,
                        const std::function<bool()>& cancelled = {});

// The path of an archive entry made safe to put under a folder: "\" counts
// as a separator, "." and empty parts are dropped (a name of nothing else
// gives an empty path). Nothing when the name is absolute (also "C:...") or
// climbs with "..".
std::optional<std::filesystem::path> safe_entry_path(std::string_view name);

}  // namespace orvela::online
