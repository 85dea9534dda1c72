#pragma once
// Following the fixes of a GPS source on the map: a fix more than one cell
// from the last place the user was put moves the user there (turning them
// to the direction of travel when that switch is on), and a fix gained or
// lost is spoken. Runs on the window's thread.
#include "explore/direction.h"
#include "gps/gps_settings.h"
#include "gps/nmea.h"

namespace orvela::map {
class Grid;
}
namespace orvela::text {
class Messages;
}
namespace orvela::explore {
class Explorer;
}

namespace orvela::gps {

class Follower {
 public:
  Follower(explore::Explorer& ex, const map::Grid& grid, text::Messages& msg,
           const explore::DirectionTables& tables, const explore::ExploreSettings& explore_settings,
           const GpsSettings& settings);

  // A source starts: PREVGPS is cleared, so that its first fix is announced
  // and moves the user.
  void reset();
  // Applies the state `gs`; `first` marks the first state of a source.
  // True when the user was moved; false when they stand (a fix within one
  // cell, or no fix).
  bool follow(const GPSSTATEREC& gs, bool first);

  // The state last acted upon: the fix quality last seen and the position
  // the user was last moved to.
  const GPSSTATEREC& PREVGPS() const { return prev_; }

 private:
  // How far the fix `gs` lies from PREVGPS in grid cells, and which way.
  struct Way {
    double cells;
    int32_t kier;
  };
  Way way_to(const GPSSTATEREC& gs) const;
  bool move_to(const GPSSTATEREC& gs);

  explore::Explorer& ex_;
  const map::Grid& grid_;
  text::Messages& msg_;
  const explore::DirectionTables& tables_;
  const explore::ExploreSettings& explore_settings_;
  const GpsSettings& settings_;
  GPSSTATEREC prev_;
  // PREVGPS holds a position this source moved the user to (not the
  // cleared 0, 0), so the way from it to the next fix is a direction of travel.
  bool placed_ = false;
};

}  // namespace orvela::gps
