// The first start opens the demo map at its centre.
#include <gtest/gtest.h>

#include "explore/first_start.h"
#include "support/explore_world.h"
#include "text/atomic_file.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::MapObject;
namespace fs = std::filesystem;

void make_demo(const fs::path& dir) {
  fs::create_directories(dir);
  MapBuilder b(dir / DEMO_MAP);
  MapObject o;
  o.type = 'p';
  o.typ = "harbour";
  o.name = "Cove";
  b.point(o, -30000000, -150000000);
}

TEST(FirstStart, DemoMapIsCopiedHomeAndOpenedAtItsCentre) {
  ExploreWorld w;
  w.user.ULATLONSET = false;
  make_demo(w.tmp / "program" / "maps");
  ASSERT_TRUE(open_demo_map(w.ex, w.loader, w.db, w.tmp / "program" / "maps", w.tmp / "maps"));
  EXPECT_EQ(w.loader.FN(), (w.tmp / "maps" / DEMO_MAP).string());
  EXPECT_TRUE(fs::exists(w.tmp / "maps" / DEMO_MAP));
  for (const auto& e : fs::directory_iterator(w.tmp / "maps"))
    EXPECT_FALSE(text::is_temp_name(e.path())) << e.path();
  EXPECT_EQ(w.user.ULAT, -30000000);
  EXPECT_EQ(w.user.ULON, -150000000);
  EXPECT_EQ(w.said(), std::vector<std::string>{"harbour Cove"});
  for (const auto& l : w.out()) EXPECT_FALSE(l.starts_with("ASK ")) << l;
}

TEST(FirstStart, AHomeCopyIsKeptAndAMissingDemoOpensNothing) {
  ExploreWorld w;
  make_demo(w.tmp / "program" / "maps");
  {
    MapBuilder b(w.tmp / "maps" / DEMO_MAP);
    MapObject o;
    o.type = 'p';
    o.typ = "lighthouse";
    b.point(o, 10000000, 20000000);
  }
  ASSERT_TRUE(open_demo_map(w.ex, w.loader, w.db, w.tmp / "program" / "maps", w.tmp / "maps"));
  EXPECT_EQ(w.user.ULAT, 10000000);

  ExploreWorld none;
  EXPECT_FALSE(open_demo_map(none.ex, none.loader, none.db, none.tmp / "program" / "maps",
                             none.tmp / "maps"));
  EXPECT_EQ(none.loader.FN(), "");
  EXPECT_TRUE(none.out().empty());
}

}  // namespace
}  // namespace orvela::explore
