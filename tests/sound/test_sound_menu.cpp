// What the Sound menu's commands do to the engine and the soundscape.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "sound/devices.h"
#include "sound/soundscape.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

using test::heard;
using test::sound_at;

class SoundMenu : public testing::Test {
 protected:
  void SetUp() override {
    test::use_null_backend_by_default();
    for (const char* n : {"user bookmark", "other line", "shop", "bell"}) {
      home.add(n, test::WavLayout{.samples = test::tone(1.5)});
    }
    test::write_file(home.dir / "sounds.ini",
                     "specialsound = user bookmark\nspecialsound = other line\n"
                     "shop = shop\nspecialsound = bell\n");
    list.READSOUNDSLIST(home.dir / "sounds.ini", home.sounds());
    ASSERT_TRUE(engine.SOUNDINIT("").device_open);
    map.put("p", "shop", {{2, 0}});
  }
  bool loaded(const std::string& fn) const {
    for (uint16_t n = 1; n <= engine.SOUNDBUFSUSED(); ++n) {
      if (engine.buffer(n).LOADED && engine.buffer(n).FNAME == fn) return true;
    }
    return false;
  }

  test::SoundHome home;
  SoundList list;
  AudioEngine engine{home.paths()};
  Soundscape scape{engine, list};
  test::Neighbourhood map;
};

TEST_F(SoundMenu, PresentationPlaysEachChosenSoundAndRestoresTheSoundscape) {
  const std::vector<SOUNDPRESENTATIONLISTREC> entries = scape.start_presentation();
  // Special sounds, the kinds' sounds, then a special sound listed after them.
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.LOCNAMEUTF8);
  EXPECT_EQ(names, (std::vector<std::string>{"other line", "user bookmark", "shop", "bell"}));
  // While the person reads the list elsewhere the sound goes on playing.
  EXPECT_FALSE(scape.settings().SOUNDMUTEONKILLFOCUS);
  scape.present(entries[3]);
  scape.present(entries[0]);
  scape.end_presentation(map.here());
  // The two chosen sounds took two buffer slots (the soundscape's shop then
  // took the first one back); the last is still held by its stopped source.
  EXPECT_EQ(engine.SOUNDBUFSUSED(), 2);
  EXPECT_EQ(engine.buffer(1).FNAME, "shop");
  EXPECT_TRUE(loaded("other line"));
  EXPECT_FALSE(loaded("user bookmark"));
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");  // the soundscape is back
  EXPECT_EQ(heard(engine).size(), 1u);
  EXPECT_TRUE(scape.settings().SOUNDMUTEONKILLFOCUS);
}

TEST_F(SoundMenu, ChangedDeviceReopensTheEngineUnmutedAndIsKeptInTheSettings) {
  scape.settings().SOUNDMUTED = true;
  const auto devices = playback_devices();
  ASSERT_TRUE(devices && !devices->empty());
  const InitResult r = scape.change_device(devices->front());
  EXPECT_TRUE(r.device_open);
  ASSERT_TRUE(engine.has_device());
  EXPECT_EQ(engine.SOUNDDEVICENAME(), devices->front());
  EXPECT_EQ(engine.settings().SOUNDDEVICENAME, devices->front());
  EXPECT_FALSE(scape.settings().SOUNDMUTED);
  ASSERT_EQ(scape.TESTSPEAKERS(), Soundscape::SpeakerTest::Played);
  auto h = heard(engine);
  ASSERT_EQ(h.size(), 1u);  // the speaker test, on the left
  EXPECT_FLOAT_EQ(h[0].x, -5.0f);
}

TEST_F(SoundMenu, ExchangedChannelsPlayEastOnTheLeft) {
  scape.SETSOUNDSCAPE(map.here());
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
  scape.SWITCHSOUNDSPEAKERS(map.here());
  EXPECT_EQ(sound_at(engine, -2, 0), "shop");
  scape.SWITCHSOUNDSPEAKERS(map.here());
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
}

TEST_F(SoundMenu, HrtfSwitchRewritesTheConfigurationAndReopens) {
  scape.settings().SOUNDMUTED = true;
  const InitResult r = scape.SWITCHSOUNDHRTFMODE(map.here());
  EXPECT_TRUE(r.config_written);
  EXPECT_TRUE(r.device_open);
  EXPECT_FALSE(engine.settings().SOUNDHRTFMODE);
  std::ifstream f(home.dir / "alsoft.ini");
  std::stringstream text;
  text << f.rdbuf();
  EXPECT_EQ(text.str(), "[general]\nhrtf = false\n");
  EXPECT_FALSE(scape.settings().SOUNDMUTED);
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
}

TEST_F(SoundMenu, FailuresOfTheEngineAreReported) {
  engine.SOUNDCLOSE();
  AudioEngine nowhere(
      {home.sounds(), home.dir / "missing folder" / "alsoft.ini", home.dir / "hrtf"});
  nowhere.settings().SOUNDDEVICENAME = "no such output device";
  Soundscape s(nowhere, list);
  const InitResult r = s.start_engine();
  EXPECT_FALSE(r.config_written);
  EXPECT_FALSE(r.device_open);
  SoundList none;
  Soundscape empty(engine, none);
  EXPECT_EQ(empty.TESTSPEAKERS(), Soundscape::SpeakerTest::NoSounds);
}

}  // namespace
}  // namespace orvela::sound
