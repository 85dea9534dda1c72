#include "app/beacon_link.h"

#include <algorithm>

#include "map/geo.h"
#include "text/distance.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::app {

using text::_;
using text::N_;
using ui::Menu;
using ui::MOD_CTRL;
using ui::MOD_SHIFT;

int32_t BeaconLink::bookmark_index() const {
  const std::optional<sound::BeaconTarget>& t = sound_.beacon().target();
  if (!t) return -1;
  const bookmarks::ARRLOC& list = bookmarks_.BOOKMARKS();
  auto same_place = [&](int32_t i) {
    const bookmarks::LOCATION& l = list[static_cast<size_t>(i)];
    return l.LAT == t->LAT && l.LON == t->LON;
  };
  const auto n = static_cast<int32_t>(list.size());
  if (last_index_ >= 0 && last_index_ < n && same_place(last_index_) &&
      list[static_cast<size_t>(last_index_)].NAME == t->NAME)
    return last_index_;
  // The bookmark of that name at that place; else one renamed there.
  int32_t renamed = -1;
  for (int32_t i = 0; i < n; ++i) {
    if (!same_place(i)) continue;
    if (list[static_cast<size_t>(i)].NAME == t->NAME) return last_index_ = i;
    if (renamed < 0) renamed = i;
  }
  return last_index_ = renamed;
}

void BeaconLink::follow_bookmark() {
  sound::Beacon& b = sound_.beacon();
  if (!b.target()) return;
  const int32_t i = bookmark_index();
  if (i < 0) {
    b.off();
    // Said after whatever removed the bookmark, without cutting it off.
    msg_.EDANOINT(_("Beacon switched off."));
    return;
  }
  sound::BeaconTarget t = *b.target();
  t.NAME = bookmarks_.BOOKMARKS()[static_cast<size_t>(i)].NAME;
  b.set(std::move(t));
}

void BeaconLink::BEACONSET() {
  if (bookmarks_.CHECKNOBOOKMARKS(1)) return;
  int32_t num = bookmark_index();
  if (num < 0) num = std::max(0, bookmarks_.GETNEARESTBOOKMARK());
  if (!bookmarks_.SELECTBOOKMARK(num, false, _("Homing beacon"), _("Select bookmark"))) return;
  const bookmarks::LOCATION& l = bookmarks_.BOOKMARKS()[static_cast<size_t>(num)];
  sound_.beacon().set({l.NAME, l.LAT, l.LON});
  last_index_ = num;
  sound_.update_beacon();
  BEACONSAY();
}

void BeaconLink::BEACONSAY() {
  const std::optional<sound::BeaconTarget>& t = sound_.beacon().target();
  if (!t) {
    msg_.EDA(_("No beacon set."));
    return;
  }
  if (!user_.ULATLONSET) {
    msg_.EDA(text::STRTOKENREPLACE(_("Beacon {name}"), {"name", t->NAME}));
    return;
  }
  const std::string dist =
      text::DISTANCETOSTR(map::GEODIST(user_.ULAT, user_.ULON, t->LAT, t->LON));
  const std::string dir = text::DELRLSPC(
      text::DELDBLSPC(explorer_.GETDIRSTR(map::GEOAZIM(user_.ULAT, user_.ULON, t->LAT, t->LON))));
  // TRANSLATORS: {name} is a bookmark, {dist} a distance, {dir} a direction ("at hour 3").
  msg_.EDA(text::STRTOKENREPLACE(_("Beacon {name}: {dist} {dir}"),
                                 {"name", t->NAME, "dist", dist, "dir", dir}));
}

void BeaconLink::BEACONOFF() {
  if (!sound_.beacon().target()) {
    msg_.EDA(_("No beacon set."));
    return;
  }
  sound_.beacon().off();
  msg_.EDA(_("Beacon switched off."));
}

void BeaconLink::add_commands(ui::Commands& c) {
  auto on = [this] { return sound_.beacon().target().has_value(); };
  // clang-format off
  c.add({.id = 515, .name = "IDM_BEACONSET", .menu = Menu::Bookmarks, .order = 22,
         .text = N_("Set beacon on bookmark..."), .key = ui::key('B'),
         .run = [this] { BEACONSET(); }});
  c.add({.id = 517, .name = "IDM_BEACONOFF", .menu = Menu::Bookmarks, .order = 24,
         .text = N_("Beacon off"), .key = ui::key('B', MOD_CTRL),
         .run = [this] { BEACONOFF(); }, .enabled = on});
  c.add({.id = 516, .name = "IDM_BEACONSAY", .menu = Menu::Say, .order = 55,
         .text = N_("Beacon distance and direction"), .key = ui::key('B', MOD_SHIFT),
         .run = [this] { BEACONSAY(); }, .enabled = on});
  // clang-format on
}

}  // namespace orvela::app
