#include "gps/follow.h"

#include <cmath>

#include "explore/coord_text.h"
#include "explore/explorer.h"
#include "map/direction.h"
#include "map/geo.h"
#include "map/grid.h"
#include "text/messages.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::gps {

using text::_;

Follower::Follower(explore::Explorer& ex, const map::Grid& grid, text::Messages& msg,
                   const explore::DirectionTables& tables,
                   const explore::ExploreSettings& explore_settings, const GpsSettings& settings)
    : ex_(ex),
      grid_(grid),
      msg_(msg),
      tables_(tables),
      explore_settings_(explore_settings),
      settings_(settings) {}

void Follower::reset() {
  prev_ = GPSSTATEREC{};
  placed_ = false;
}

bool Follower::follow(const GPSSTATEREC& gs, bool first) {
  if (gs.FIX == 0) {
    if (prev_.FIX > 0 || first) msg_.EDANOINT(_("No signal."));
    prev_.FIX = 0;
    return false;
  }
  if (prev_.FIX == 0 || first)
    msg_.EDANOINT(
        text::STRTOKENREPLACE(_("Signal from {sat} satellites."), {"sat", text::STR2(gs.SAT)}));
  prev_.FIX = gs.FIX;
  return move_to(gs);
}

Follower::Way Follower::way_to(const GPSSTATEREC& gs) const {
  if (grid_.XLON != 0 && grid_.YLAT != 0) {
    double px = 0, py = 0, nx = 0, ny = 0;
    grid_.LATLONTOYX(prev_.LAT, prev_.LON, py, px);
    grid_.LATLONTOYX(gs.LAT, gs.LON, ny, nx);
    return {std::hypot(nx - px, ny - py), map::GETKIER(px, py, nx, ny)};
  }
  // No grid loaded yet (a map opened before any position was known): the
  // squares of the zoom level, so the first fix still puts the user there.
  return {static_cast<double>(map::GEODIST(prev_.LAT, prev_.LON, gs.LAT, gs.LON)) / grid_.SQMETERS,
          map::GEOAZIM(prev_.LAT, prev_.LON, gs.LAT, gs.LON)};
}

bool Follower::move_to(const GPSSTATEREC& gs) {
  // A damaged sentence can carry a position beyond the poles; there is no
  // place to go, and no box to show in the middle of a playback.
  if (!explore::coords_on_world(gs.LAT, gs.LON)) return false;
  const Way way = way_to(gs);
  // Standing, or drifting within a cell: the drift adds up from where the
  // user was put until it passes one cell.
  if (text::round_half_even(way.cells) <= 1) return false;

  const int32_t old_dir = ex_.user().UDIR;
  const bool turn = settings_.GPS_AUTOUDIRCHANGE && placed_;
  // Turned before the jump, so that the arrival is described and the
  // soundscape built as seen in the direction of travel.
  if (turn) ex_.SETUDIR(way.kier);
  if (!ex_.GOTOLATLON(gs.LAT, gs.LON, true, {})) return false;
  prev_.LAT = gs.LAT;
  prev_.LON = gs.LON;
  placed_ = true;
  const uint8_t mode = explore_settings_.UDIRMODE;
  if (turn && explore::udir_sentence(tables_, mode, old_dir) !=
                  explore::udir_sentence(tables_, mode, ex_.user().UDIR))
    ex_.SAYUDIR();
  return true;
}

}  // namespace orvela::gps
