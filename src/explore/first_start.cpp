#include "explore/first_start.h"

#include <system_error>

#include "explore/explorer.h"
#include "explore/open_map.h"
#include "text/atomic_file.h"

namespace orvela::explore {
namespace {

namespace fs = std::filesystem;

// The demo map in the home's maps folder, copied there under a temporary
// name and renamed so a full disk never leaves half a map; the program's own
// copy when that fails (a read-only home still gets the demo).
fs::path home_copy(const fs::path& src, const fs::path& home_maps) {
  std::error_code ec;
  fs::path dst = home_maps / DEMO_MAP;
  if (fs::exists(dst, ec)) return dst;
  fs::create_directories(home_maps, ec);
  const fs::path tmp = text::temp_path_beside(dst);
  text::RemoveOnFailure guard({tmp});
  if (fs::copy_file(src, tmp, fs::copy_options::overwrite_existing, ec) && !ec &&
      text::replace_with_temp(tmp, dst)) {
    guard.keep();
    return dst;
  }
  return src;
}

}  // namespace

fs::path install_demo_map(const fs::path& program_maps, const fs::path& home_maps) {
  std::error_code ec;
  fs::path src = program_maps / DEMO_MAP;
  if (!fs::exists(src, ec) && !fs::exists(home_maps / DEMO_MAP, ec)) return {};
  return home_copy(src, home_maps);
}

bool open_demo_map(Explorer& ex, map::MapLoader& loader, map::MapDb& db,
                   const fs::path& program_maps, const fs::path& home_maps) {
  fs::path demo = install_demo_map(program_maps, home_maps);
  if (demo.empty()) return false;
  const std::optional<MapPlace> centre = open_map_at_centre(ex, loader, db, demo);
  return centre && ex.GOTOLATLON(centre->LAT, centre->LON, true, {});
}

}  // namespace orvela::explore
