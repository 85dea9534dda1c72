// Choosing a map and what the user is told when it opens, fails or is missing.
#include <gtest/gtest.h>

#include <fstream>

#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using Lines = std::vector<std::string>;
using test::ExploreWorld;
using test::MapBuilder;

TEST(MapSession, ChosenMapOpensWithItsNameInTheTitle) {
  ExploreWorld w("2\n");
  { MapBuilder b(w.map_path("a.orvel")); }
  { MapBuilder b(w.map_path("b.orvel")); }
  w.ex.FILEOPEN();
  const Lines out = w.out();
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0], "LIST Open map: Select map");
  EXPECT_EQ(out[3], "TITLE Orvela " + std::filesystem::path(w.loader.FN()).stem().string());
  EXPECT_EQ(w.loader.FN(), w.map_path(out[2].substr(5)).string());
}

TEST(MapSession, NothingToChooseOrChoiceCancelled) {
  ExploreWorld none;
  EXPECT_FALSE(none.ex.SELECTMAP());
  EXPECT_EQ(none.out(), Lines{"INFO No map installed. Import some map first."});
  ExploreWorld cancelled(":cancel\n");
  { MapBuilder b(cancelled.map_path("a.orvel")); }
  cancelled.ex.FILEOPEN();
  EXPECT_EQ(cancelled.loader.FN(), "");
  EXPECT_EQ(cancelled.out(), (Lines{"LIST Open map: Select map", "* 1. a.orvel"}));
}

TEST(MapSession, FailuresAreShownAndTheMapIsForgotten) {
  struct Case {
    const char* what;
    int version;  // 0: not a map at all
    const char* shown;
  };
  const Case cases[] = {
      {"not a map", 0, "INFO Error reading map: It is not a orvel file"},
      {"older", 6,
       "INFO Error reading map: Map version is older than supported by program. "
       "Update map."},
      {"newer", 8, "INFO Error reading map: Map version is newer than supported. Update program."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExploreWorld w;
    if (c.version == 0)
      std::ofstream(w.map_path()) << "plain text, no database";
    else
      MapBuilder b(w.map_path(), c.version);
    EXPECT_FALSE(w.load());
    EXPECT_EQ(w.out(), Lines{c.shown});
    // A step needs the map: the user hears that there is none.
    w.ex.UDIRMOVE(0);
    EXPECT_EQ(w.said(), Lines{"No map selected."});
  }
}

TEST(MapSession, ZoomChangeSpeaksTheSizeAndReloadsOnlyOnChange) {
  struct Case {
    uint8_t from;
    int mode;
    const char* said;
    bool reloads;
  };
  const Case cases[] = {
      {2, 0, "One square 20 metres.", true},     {2, 1, "One square 5 metres.", true},
      {0, 1, "One square 2 metres.", false},     {11, 0, "One square 10 kilometres.", false},
      {5, 3, "One square 10 kilometres.", true}, {8, 0, "One square 2 kilometres.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.from) << " mode " << c.mode);
    ExploreWorld w;
    { MapBuilder b(w.map_path()); }
    w.grid.ILEV = c.from;
    w.grid.SETILEV();
    ASSERT_TRUE(w.load());
    int loads = 0;
    uint16_t size_at_load = 0;
    w.loader.hooks.after_load = [&] {
      ++loads;
      size_at_load = w.grid.SQMETERS;
    };
    w.ex.SQMETERSCHANGE(c.mode);
    EXPECT_EQ(w.said(), Lines{c.said});
    EXPECT_EQ(loads, c.reloads ? 1 : 0);
    if (c.reloads) {
      EXPECT_EQ(size_at_load, w.grid.SQMETERS);  // loaded with the new size
    }
  }
}

}  // namespace
}  // namespace orvela::explore
