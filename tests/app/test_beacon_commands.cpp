// The homing beacon's commands on the whole program, and the beacon keeping
// to its bookmark while the list changes.
#include <gtest/gtest.h>

#include "app/app_window.h"
#include "explore/first_start.h"

namespace orvela::app {
namespace {

using test::Window;

// The demo map opened at its centre, a bookmark made there with its
// proposed name (the first answer).
void bookmark_the_centre(Window& w) {
  App& a = w.app();
  ASSERT_TRUE(explore::open_demo_map(a.explorer(), a.loader(), a.db(),
                                     orvela::test::program_dir() / "maps", a.paths().maps_dir()));
  w.command("IDM_BOOKMARKEDIT");
  ASSERT_EQ(a.bookmarks().BOOKMARKS().size(), 1u);
  w.out();
}

void step(Window& w, int32_t kierinc, int times) {
  for (int i = 0; i < times; ++i) w.app().explorer().UDIRMOVE(kierinc);
  w.out();
}

TEST(Beacon, SetOnABookmarkSaidAndSwitchedOff) {
  Window w(":default\n\n");
  bookmark_the_centre(w);
  const int off = w.id("IDM_BEACONOFF"), say = w.id("IDM_BEACONSAY");
  w.app().on_init_menu();
  EXPECT_FALSE(w.ui().is_item_enabled(off));
  EXPECT_FALSE(w.ui().is_item_enabled(say));
  w.command("IDM_BEACONSET");
  EXPECT_EQ(w.out(),
            "LIST Homing beacon: Select bookmark\n"
            "* 1. 1. fountain Cove Fountain 0 metres at hour 0\n"
            "SAY Beacon 1. fountain Cove Fountain: 0 metres at hour 0\n");
  w.app().on_init_menu();
  EXPECT_TRUE(w.ui().is_item_enabled(off));
  EXPECT_TRUE(w.ui().is_item_enabled(say));
  step(w, 90, 3);  // three squares east, still facing north
  w.command("IDM_BEACONSAY");
  EXPECT_EQ(w.out(), "SAY Beacon 1. fountain Cove Fountain: 30 metres at hour 9\n");
  // Larger squares and a reload keep it.
  w.command("IDM_INCSQMETERS");
  w.command("IDM_MAPREFRESH");
  w.out();
  w.command("IDM_BEACONSAY");
  EXPECT_EQ(w.out(), "SAY Beacon 1. fountain Cove Fountain: 30 metres at hour 9\n");
  w.command("IDM_BEACONOFF");
  EXPECT_EQ(w.out(), "SAY Beacon switched off.\n");
  w.command("IDM_BEACONOFF");
  w.command("IDM_BEACONSAY");
  EXPECT_EQ(w.out(), "SAY No beacon set.\nSAY No beacon set.\n");
}

TEST(Beacon, FollowsARenameAndGoesOffWithItsBookmark) {
  Window w(":default\n\nCentre\ny\n");
  bookmark_the_centre(w);
  w.command("IDM_BEACONSET");
  w.out();
  w.command("IDM_BOOKMARKEDIT");  // renamed "Centre"
  w.out();
  step(w, 180, 2);
  w.command("IDM_BEACONSAY");
  EXPECT_EQ(w.out(), "SAY Beacon Centre: 20 metres at hour 0\n");
  step(w, 0, 2);
  w.command("IDM_BOOKMARKDEL");
  EXPECT_EQ(w.out(), "ASK Delete bookmark Centre?\nSAY Beacon switched off.\n");
  w.command("IDM_BEACONSAY");
  EXPECT_EQ(w.out(), "SAY No beacon set.\n");
}

TEST(Beacon, NeedsABookmark) {
  Window w("");
  w.command("IDM_BEACONSET");
  EXPECT_EQ(w.out(), "SAY At least 1 bookmarks required to perform this operation\n");
}

}  // namespace
}  // namespace orvela::app
