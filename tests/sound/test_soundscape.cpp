// The soundscape built from a real map grid, played by the engine on
// OpenAL Soft's null backend.
#include <gtest/gtest.h>

#include "sound/soundscape.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

using test::heard;
using test::Heard;
using test::sound_at;

class SoundscapeTest : public testing::Test {
 protected:
  void SetUp() override {
    test::use_null_backend_by_default();
    for (const char* n : {"road main", "shop", "crossing", "number", "other line", "other area",
                          "other point", "user bookmark", "user move", "user move up",
                          "user move down", "additional informations"}) {
      home.add(n, test::WavLayout{.samples = test::tone(2.0)});
    }
    test::write_file(
        home.dir / "sounds.ini",
        "specialsound = user bookmark\nroad main = road main\nshop = shop\n" + extra_list);
    list.READSOUNDSLIST(home.dir / "sounds.ini", home.sounds());
    ASSERT_TRUE(engine.SOUNDINIT("").device_open);
  }
  Heard at(int x, int y) const {
    for (const Heard& h : heard(engine)) {
      if (std::lround(h.x) == 5 * x && std::lround(h.z) == -5 * y) return h;
    }
    return {};
  }

  std::string extra_list;
  test::SoundHome home;
  SoundList list;
  AudioEngine engine{home.paths()};
  Soundscape scape{engine, list};
  test::Neighbourhood map;
};

TEST_F(SoundscapeTest, EachCellPlaysTheSoundOfItsObject) {
  map.put("l", "road main", {{1, 0}, {1, 1}});
  map.put("l", "river", {{2, 0}});
  map.put("o", "meadow", {{0, 3}});
  map.put("p", "bench", {{-1, 0}});
  map.put("p", "shop", {{-4, 0}});
  map.put("n", "", {{-2, 0}});
  map.put("a", "", {{-3, 0}});
  map.put("l", "road main", {{4, 0}});
  map.bookmarks[{4, 0}] = 0;  // a bookmark on the road
  scape.SETSOUNDSCAPE(map.here());
  struct Expect {
    int x, y;
    const char* sound;
    float gain;
  };
  const Expect expected[] = {{1, 0, "road main", 0.7f},
                             {1, 1, "road main", 0.7f},
                             {2, 0, "other line", 0.7f},
                             {0, 3, "other area", 0.4f},
                             {-1, 0, "other point", 1.0f},
                             {-4, 0, "shop", 1.0f},
                             {-2, 0, "", 0},
                             {-3, 0, "", 0},
                             {4, 0, "user bookmark", 1.0f}};
  for (const Expect& e : expected) {
    Heard h = at(e.x, e.y);
    EXPECT_EQ(h.sound, e.sound) << e.x << "," << e.y;
    EXPECT_FLOAT_EQ(h.gain, e.gain) << e.x << "," << e.y;
    if (*e.sound) {
      EXPECT_TRUE(h.looping);
    }
  }
  EXPECT_EQ(heard(engine).size(), 7u);
  ALfloat master = 0;
  alGetListenerf(AL_GAIN, &master);
  EXPECT_FLOAT_EQ(master, 0.2f);  // NORMALVOLUME
}

class ListedPoints : public SoundscapeTest {
 protected:
  ListedPoints() { extra_list = "intersection = crossing\naddress = number\n"; }
};

TEST_F(ListedPoints, IntersectionsAndAddressesPlayTheirOwnEntries) {
  map.put("n", "", {{-2, 0}});
  map.put("a", "", {{-3, 0}});
  scape.SETSOUNDSCAPE(map.here());
  EXPECT_EQ(sound_at(engine, -2, 0), "crossing");
  EXPECT_EQ(sound_at(engine, -3, 0), "number");
}

TEST_F(SoundscapeTest, SoundsSouthOfTheUserPlayLowerAlsoWhenReused) {
  map.put("p", "shop", {{3, 0}, {-3, 0}, {0, 2}, {2, -1}, {0, -5}, {-1, -1}});
  for (int pass = 0; pass < 2; ++pass) {
    scape.SETSOUNDSCAPE(map.here());
    for (auto [x, y, pitch] : {std::tuple{3, 0, 1.0f},
                               {-3, 0, 1.0f},
                               {0, 2, 1.0f},
                               {2, -1, 0.89f},
                               {0, -5, 0.89f},
                               {-1, -1, 0.89f}}) {
      EXPECT_FLOAT_EQ(at(x, y).pitch, pitch) << x << "," << y << " pass " << pass;
    }
  }
  engine.settings().SOUNDBEHINDLOWER = false;
  scape.SETSOUNDSCAPE(map.here());
  EXPECT_FLOAT_EQ(at(0, -5).pitch, 1.0f);
}

TEST_F(SoundscapeTest, ListenerTurnsWithTheUser) {
  map.user.UDIR = 90;
  scape.SETSOUNDSCAPE(map.here());
  ALfloat o[6];
  alGetListenerfv(AL_ORIENTATION, o);
  EXPECT_FLOAT_EQ(o[0], 1.0f);
  EXPECT_FLOAT_EQ(o[2], 0.0f);
  map.user.UDIR = 225;
  scape.SETSOUNDSCAPE(map.here());
  alGetListenerfv(AL_ORIENTATION, o);
  EXPECT_FLOAT_EQ(o[0], -0.71f);
  EXPECT_FLOAT_EQ(o[2], 0.71f);
}

TEST_F(SoundscapeTest, StepSoundTellsHeightChangeAndExtraInformationOnce) {
  map.put("l", "road main", {{0, 0}}, /*hastags=*/true);
  map.put("l", "road main", {{0, 1}});
  struct Step {
    double oldhl, curhl;
    int dy;
    const char* sound;
    float gain, pitch;
  };
  const Step steps[] = {
      {0, 0, 0, "additional informations", 0.7f, 1.0f},  // first time on the tagged road
      {0, 0, 0, "user move", 0.5f, 1.75f},               // same object again: a plain step
      {0, 1, 1, "user move up", 0.5f, 1.75f},
      {1, 0.5, 0, "user move down", 0.5f, 1.75f},
      {0, 0, -1, "additional informations", 0.7f, 1.0f},  // back on the tagged road after another
  };
  for (const Step& s : steps) {
    map.user.UPOSY += s.dy;
    scape.SETSOUNDSCAPE(map.here());
    scape.PLAYUSERSTEP(map.cells, s.oldhl, s.curhl, 175);
    bool found = false;
    for (const Heard& h : heard(engine)) {
      if (h.looping) continue;
      EXPECT_EQ(h.sound, s.sound);
      EXPECT_FLOAT_EQ(h.gain, s.gain);
      EXPECT_FLOAT_EQ(h.pitch, s.pitch);
      found = true;
    }
    EXPECT_TRUE(found) << s.sound;
  }
}

TEST_F(SoundscapeTest, MutedMeansOnlyTheStepSound) {
  map.put("l", "road main", {{1, 0}});
  scape.SETSOUNDSCAPE(map.here());
  ASSERT_EQ(heard(engine).size(), 1u);
  scape.SWITCHMUTE(map.here());
  EXPECT_TRUE(heard(engine).empty());
  scape.SETSOUNDSCAPE(map.here());
  EXPECT_TRUE(heard(engine).empty());
  scape.PLAYUSERSTEP(map.cells, 0, 0, 250);
  auto h = heard(engine);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_EQ(h[0].sound, "user move");
  EXPECT_FLOAT_EQ(h[0].pitch, 2.5f);
  scape.SWITCHMUTE(map.here());
  EXPECT_EQ(sound_at(engine, 1, 0), "road main");
}

TEST_F(SoundscapeTest, SpeakerTestPlaysALongSoundOnTheLeft) {
  map.user.UDIR = 90;
  scape.SETSOUNDSCAPE(map.here());
  EXPECT_EQ(scape.TESTSPEAKERS(), Soundscape::SpeakerTest::Played);
  auto h = heard(engine);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_FLOAT_EQ(h[0].x, -5.0f);
  EXPECT_FLOAT_EQ(h[0].z, 0.0f);
  EXPECT_FLOAT_EQ(h[0].gain, 2.0f);
  EXPECT_FALSE(h[0].looping);
  ALfloat o[6];
  alGetListenerfv(AL_ORIENTATION, o);
  EXPECT_FLOAT_EQ(o[2], -1.0f);  // facing north for the test
  EXPECT_EQ(engine.SOUNDVOLUME(), 70);
}

TEST(SpeakerTest, NeedsASoundLongerThan50000Bytes) {
  test::use_null_backend_by_default();
  test::SoundHome home;
  // 50000 bytes exactly: 44 header bytes and 24978 samples.
  home.add("short", test::WavLayout{.samples = std::vector<int16_t>(24978, 1000)});
  test::write_file(home.dir / "sounds.ini", "kind = short\n");
  SoundList list;
  list.READSOUNDSLIST(home.dir / "sounds.ini", home.sounds());
  ASSERT_EQ(list.SNDFILES().at(0).LEN, 50000);
  AudioEngine engine(home.paths());
  ASSERT_TRUE(engine.SOUNDINIT("").device_open);
  Soundscape scape(engine, list);
  EXPECT_EQ(scape.TESTSPEAKERS(), Soundscape::SpeakerTest::NoLongSound);
  EXPECT_TRUE(heard(engine).empty());
  SoundList none;
  Soundscape empty(engine, none);
  EXPECT_EQ(empty.TESTSPEAKERS(), Soundscape::SpeakerTest::NoSounds);
}

TEST_F(SoundscapeTest, MonoSwitchPlacesByDistance) {
  map.put("l", "road main", {{3, 4}});
  EXPECT_TRUE(scape.SWITCHMONO(map.here()));
  auto h = heard(engine);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_FLOAT_EQ(h[0].z, 25.0f);
  EXPECT_FALSE(scape.SWITCHMONO(map.here()));
  EXPECT_EQ(sound_at(engine, 3, 4), "road main");
}

}  // namespace
}  // namespace orvela::sound
