// Choosing the map, opening it and loading the grid, with what the user is
// told about it.
#include <filesystem>

#include "explore/explorer.h"
#include "text/messages.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {

using text::_;

bool Explorer::SELECTMAP() {
  const std::vector<std::string> maps = loader_.GETMAPLIST();
  if (maps.empty()) {
    ui_.WGINFO(_("No map installed. Import some map first."));
    return false;
  }
  auto choice = ui_.WGREADLIST(_("Open map"), _("Select map"), maps);
  if (!choice) return false;
  loader_.change_map((loader_.MAPDIR() / maps[*choice]).string());
  return true;
}

bool Explorer::CHECKNOMAP() {
  if (!loader_.FN().empty()) return false;
  msg_.EDA(_("No map selected."));
  return true;
}

map::LoadResult Explorer::report(map::LoadResult r) {
  if (r.status == map::MapStatus::NoMap) {
    msg_.EDA(_("No map selected."));
  } else if (r.status == map::MapStatus::Failed) {
    ui_.WGINFO(text::STRTOKENREPLACE(_("Error reading map: {err}"), {"err", r.error}));
  } else {
    ui_.WGSETWINTEXTSTR("Orvela " + std::filesystem::path(loader_.FN()).stem().string());
  }
  return r;
}

map::LoadResult Explorer::OPENMAP() { return report(loader_.OPENMAP()); }

map::LoadResult Explorer::READMAP() { return report(loader_.READMAP()); }

map::LoadResult Explorer::FILEOPEN() {
  if (!SELECTMAP()) return {};
  return READMAP();
}

}  // namespace orvela::explore
