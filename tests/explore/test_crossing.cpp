// What a crossing's tags tell, and how its cell is announced.
#include <gtest/gtest.h>

#include "explore/crossing.h"
#include "support/explore_world.h"

namespace orvela::explore {
namespace {

using test::ExploreWorld;
using test::map_object;
using test::MapBuilder;
using Words = std::vector<std::string>;

TEST(CrossingWords, WhatTheTagsSayInAFixedOrder) {
  struct Case {
    std::vector<TagPair> tags;
    Words words;
  };
  const Case cases[] = {
      {{{"highway", "traffic_signals"}}, {"traffic signals"}},
      {{{"crossing", "traffic_signals"}, {"highway", "traffic_signals"}}, {"traffic signals"}},
      {{{"crossing:signals", "yes"}}, {"traffic signals"}},
      {{{"crossing:signals", "no"}, {"highway", "crossing"}}, {}},
      {{{"kerb", "lowered"},
        {"tactile_paving", "yes"},
        {"traffic_signals:sound", "yes"},
        {"crossing", "traffic_signals"}},
       {"traffic signals", "sound signals", "tactile paving", "lowered kerb"}},
      {{{"traffic_signals:sound", "walk"}}, {"sound signals"}},
      {{{"traffic_signals:sound", "no"}, {"tactile_paving", "no"}}, {}},
      {{{"tactile_paving", "contrasted"}}, {"tactile paving"}},
      {{{"crossing", "island"}}, {"island"}},
      {{{"crossing:island", "yes"}, {"crossing", "island"}}, {"island"}},
      {{{"crossing:island", "no"}}, {}},
      {{{"kerb", "raised"}}, {"raised kerb"}},
      {{{"kerb", "flush"}}, {"flush kerb"}},
      {{{"kerb", "rolled"}}, {}},
      {{{"crossing", "unmarked"}}, {"unmarked"}},
      {{{"crossing:markings", "no"}}, {"unmarked"}},
      {{{"crossing", "zebra"}, {"crossing", "uncontrolled"}}, {}},
      {{{"Crossing", "island"}, {"name", "traffic_signals"}}, {}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tags.empty() ? "none" : c.tags[0].first + "=" + c.tags[0].second);
    EXPECT_EQ(crossing_words(c.tags), c.words);
  }
}

TEST(CrossingWords, WhichTagsTheImportKeeps) {
  for (auto [k, v] : {std::pair{"highway", "traffic_signals"},
                      {"crossing", "zebra"},
                      {"crossing:island", "yes"},
                      {"crossing:signals", "no"},
                      {"crossing:markings", "no"},
                      {"traffic_signals:sound", "walk"},
                      {"tactile_paving", "incorrect"},
                      {"kerb", "rolled"}})
    EXPECT_TRUE(is_crossing_tag(k, v)) << k << "=" << v;
  for (auto [k, v] : {std::pair{"highway", "crossing"},
                      {"highway", "residential"},
                      {"button_operated", "yes"},
                      {"name", "Island"},
                      {"Kerb", "lowered"}})
    EXPECT_FALSE(is_crossing_tag(k, v)) << k << "=" << v;
}

// A signalled crossing with a sound and tactile paving, an intersection
// with traffic signals, a shop with tags of its own, a plain crossing.
struct Crossings : ::testing::Test {
  void SetUp() override {
    {
      MapBuilder b(w.map_path());
      const map::POINT c = w.at(75.5, 75.5), n = w.at(80.5, 75.5), s = w.at(85.5, 75.5),
                       z = w.at(90.5, 75.5);
      int64_t id = b.point(map_object('p', "", "pedestrian crossing with lights"), c.Y, c.X);
      b.tag('p', id, "crossing", "traffic_signals");
      b.tag('p', id, "traffic_signals:sound", "yes");
      b.tag('p', id, "tactile_paving", "yes");
      b.tag('p', id, "kerb", "lowered");
      id = b.point(map_object('n', "Churer Strasse Landstrasse", ""), n.Y, n.X);
      b.tag('n', id, "highway", "traffic_signals");
      id = b.point(map_object('p', "Linde", "shop"), s.Y, s.X);
      b.tag('p', id, "opening_hours", "Mo-Sa");
      b.point(map_object('p', "", "pedestrian crossing"), z.Y, z.X);
    }
    ASSERT_TRUE(w.load());
  }
  std::string said_at(double x) {
    w.user.UPOSX = x;
    w.user.UPOSY = 75.5;
    w.ex.SAYPOS();
    auto said = w.said();
    return said.empty() ? std::string() : said.back();
  }
  ExploreWorld w;
};

TEST_F(Crossings, TheAnnouncementAddsWhatTheCrossingOffers) {
  EXPECT_EQ(said_at(75.5),
            "pedestrian crossing with lights, traffic signals, sound signals, tactile paving, "
            "lowered kerb");
  EXPECT_EQ(said_at(80.5), "Churer Strasse Landstrasse, traffic signals");
  EXPECT_EQ(said_at(85.5), "shop Linde");
  EXPECT_EQ(said_at(90.5), "pedestrian crossing");
}

}  // namespace
}  // namespace orvela::explore
