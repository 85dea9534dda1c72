#pragma once
// The homing beacon's commands: putting it on a bookmark, asking where it
// is, switching it off; and keeping it on its bookmark while the list
// changes (a renamed bookmark keeps it, a deleted one switches it off).
#include "app/sound_link.h"
#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "map/user.h"
#include "text/messages.h"
#include "ui/command.h"
#include "ui/ui.h"

namespace orvela::app {

class BeaconLink {
 public:
  BeaconLink(SoundLink& sound, bookmarks::Bookmarks& bookmarks, const explore::Explorer& explorer,
             const map::UserState& user, text::Messages& msg)
      : sound_(sound), bookmarks_(bookmarks), explorer_(explorer), user_(user), msg_(msg) {}

  // Follows the beacon's bookmark through the list: its new name after a
  // rename; switched off, saying so, when it is gone.
  void follow_bookmark();

  // Lets the user choose the bookmark (IDM_BEACONSET).
  void BEACONSET();
  // "Beacon {name}: {dist} {dir}" (IDM_BEACONSAY).
  void BEACONSAY();
  // IDM_BEACONOFF.
  void BEACONOFF();

  // The rows of IDM_BEACONSET, IDM_BEACONSAY and IDM_BEACONOFF.
  void add_commands(ui::Commands& commands);

 private:
  // The beacon's bookmark in the list, -1 when it has none there.
  int32_t bookmark_index() const;

  SoundLink& sound_;
  bookmarks::Bookmarks& bookmarks_;
  const explore::Explorer& explorer_;
  const map::UserState& user_;
  text::Messages& msg_;
  // Where the beacon's bookmark stood at the last look: tried first.
  mutable int32_t last_index_ = -1;
};

}  // namespace orvela::app
