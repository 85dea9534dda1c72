// Steps and turns of the user on the grid.
#include <cmath>

#include "explore/explorer.h"
#include "map/direction.h"
#include "map/grid.h"
#include "map/loader.h"
#include "text/distance.h"
#include "text/messages.h"
#include "text/numeric.h"
#include "text/translate.h"

namespace orvela::explore {

using text::_;

Explorer::Explorer(map::Grid& grid, map::UserState& user, map::MapLoader& loader, ui::Ui& ui,
                   text::Messages& msg, const DirectionTables& tables,
                   const ExploreSettings& settings)
    : grid_(grid),
      user_(user),
      loader_(loader),
      ui_(ui),
      msg_(msg),
      tables_(tables),
      settings_(settings) {}

std::optional<std::pair<int, int>> Explorer::user_cell() const {
  if (!map::Grid::ISXYVALID(user_.UPOSX, user_.UPOSY)) return std::nullopt;
  return std::pair{static_cast<int>(std::trunc(user_.UPOSX)),
                   static_cast<int>(std::trunc(user_.UPOSY))};
}

void Explorer::after_arrival(double prevhlev, const std::string& addition) {
  std::string s = position_text();
  if (!addition.empty()) s = s.empty() ? addition : s + ", " + addition;
  if (!s.empty()) msg_.EDA(s);
  if (hooks.SETSOUNDSCAPE) hooks.SETSOUNDSCAPE();
  if (hooks.PLAYUSERSTEP) hooks.PLAYUSERSTEP(prevhlev, user_.LASTHLEV);
}

void Explorer::XYMOVE(double incx, double incy) {
  if (CHECKNOMAP()) return;
  const double oldx = std::trunc(user_.UPOSX), oldy = std::trunc(user_.UPOSY);
  user_.UPOSX = text::round_away(user_.UPOSX + incx, 2);
  user_.UPOSY = text::round_away(user_.UPOSY + incy, 2);
  if (std::trunc(user_.UPOSX) == oldx && std::trunc(user_.UPOSY) == oldy) return;
  UPDULATLON();
  constexpr double margin = 10;
  if (user_.UPOSX < margin || user_.UPOSX + margin > map::MAXXY || user_.UPOSY < margin ||
      user_.UPOSY + margin > map::MAXXY)
    RELOADMAP();
  after_arrival(user_.LASTHLEV);
}

void Explorer::UDIRMOVE(int32_t kierinc) {
  double incx = 0, incy = 0;
  map::GETINCXYFROMKIER(map::WRAPDIRECTION(user_.UDIR + kierinc), incx, incy);
  XYMOVE(user_.USTEPSIZE * incx, user_.USTEPSIZE * incy);
}

void Explorer::SETUDIR(int32_t kier) {
  user_.UDIR = map::WRAPDIRECTION(kier);
  user_.BOOKMARKSUPOSCHANGED = true;
  user_.USTEPSIZE = 1.0;
}

void Explorer::INCUDIR(int32_t kierinc) {
  SETUDIR(user_.UDIR + kierinc);
  SAYUDIR();
  if (hooks.SETSOUNDSCAPE) hooks.SETSOUNDSCAPE();
}

void Explorer::SAYUDIR() { msg_.EDANOINT(udir_sentence(tables_, settings_.UDIRMODE, user_.UDIR)); }

void Explorer::UPDULATLON() {
  auto c = user_cell();
  if (c && grid_.MAPALATLON(c->first, c->second).ISSET) {
    user_.ULAT = grid_.MAPALATLON(c->first, c->second).LAT;
    user_.ULON = grid_.MAPALATLON(c->first, c->second).LON;
  } else {
    grid_.YXTOLATLON(user_.UPOSY, user_.UPOSX, user_.ULAT, user_.ULON);
  }
  user_.ULATLONSET = true;
  user_.BOOKMARKSUPOSCHANGED = true;
}

void Explorer::SAYILEV() {
  msg_.EDA(text::STRTOKENREPLACE(_("One square {size}."),
                                 {"size", text::DISTANCETOSTR(grid_.SQMETERS)}));
}

void Explorer::SQMETERSCHANGE(int IMODE) {
  const bool changed = grid_.SQMETERSCHANGE(IMODE);
  SAYILEV();
  if (changed) RELOADMAP();
}

std::string Explorer::GETDIRSTR(int32_t dir) const {
  return explore::GETDIRSTR(tables_, settings_.UDIRMODE, user_.UDIR, dir);
}

}  // namespace orvela::explore
