// Jumps to typed coordinates and QTH locators.
#include <cmath>

#include "explore/coord_text.h"
#include "explore/explorer.h"
#include "map/geo.h"
#include "map/loader.h"
#include "map/qth.h"
#include "text/distance.h"
#include "text/messages.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {
namespace {

using text::_;

}  // namespace

bool Explorer::GOTOLATLON(int32_t lat, int32_t lon, bool AUTO, const std::string& mapfn) {
  // Beyond the poles or the date line there is nothing to load, and the
  // distance would be computed on a wrapped position the user never typed.
  if (!coords_on_world(lat, lon)) {
    ui_.WGINFO(_("Coordinates out of range."));
    return false;
  }
  if (user_.ULATLONSET && !AUTO) {
    std::string dist = text::DISTANCETOSTR(map::GEODIST(user_.ULAT, user_.ULON, lat, lon));
    std::string azim = GETDIRSTR(map::GEOAZIM(user_.ULAT, user_.ULON, lat, lon));
    if (!ui_.WGTN(text::STRTOKENREPLACE(_("Do you want to jump {dist} {azim}?"),
                                        {"dist", dist, "azim", azim})))
      return false;
  }
  user_.ULAT = lat;
  user_.ULON = lon;
  user_.ULATLONSET = true;
  user_.BOOKMARKSUPOSCHANGED = true;
  if (!mapfn.empty()) {
    std::string full = (loader_.MAPDIR() / mapfn).string();
    if (full != loader_.FN()) loader_.change_map(full);
  }
  READMAP();
  after_arrival(user_.LASTHLEV);
  return true;
}

std::optional<std::pair<int32_t, int32_t>> Explorer::READCORDS(const std::string& title,
                                                               const std::string& prompt) {
  std::string initial = user_.ULATLONSET ? format_coords(user_.ULAT, user_.ULON) : std::string();
  auto entry = ui_.WGREADSTR(title, prompt, initial);
  if (!entry) return std::nullopt;
  std::string line(text::trim(*entry, text::kBlanks));
  if (line.empty()) return std::nullopt;
  CoordEntry e = parse_coord_entry(line);
  if (e.LASTERR != 0) {
    ui_.WGINFO(e.message);
    return std::nullopt;
  }
  return std::pair{e.LAT, e.LON};
}

void Explorer::GOTOCORDS() {
  auto c = READCORDS(_("Go to coordinates"),
                     _("Enter decimal latitude and longitude separated by space"));
  if (c) GOTOLATLON(c->first, c->second, false, {});
}

void Explorer::GOTOQTHLOC() {
  std::string initial;
  if (user_.ULATLONSET) initial = map::LATLON2QTH(user_.ULAT / 1e6, user_.ULON / 1e6);
  auto entry = ui_.WGREADSTR(_("Go to QTH location"), _("Enter QTH locator"), initial);
  if (!entry) return;
  std::string qth(text::trim(*entry, text::kBlanks));
  if (qth.empty()) return;
  double lat = 0, lon = 0;
  if (!map::QTH2LATLON(qth, lat, lon)) {
    ui_.WGINFO(_("Invalid QTH locator entered."));
    return;
  }
  GOTOLATLON(text::round_half_even_i32(lat * 1e6), text::round_half_even_i32(lon * 1e6), false, {});
}

}  // namespace orvela::explore
