// The Sound menu's dialogs, answered by a person at the console front end.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "sound/soundscape.h"
#include "sound_fixture.h"
#include "ui/console_ui.h"

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
  // Runs `action` with the console answering from `answers`; returns what it printed.
  template <typename F>
  std::vector<std::string> with_person(const std::string& answers, F action) {
    std::istringstream in(answers);
    std::ostringstream out, err;
    {
      ui::ConsoleUi console(in, out, err);
      action(console);
    }
    std::vector<std::string> lines;
    std::istringstream split(out.str());
    for (std::string l; std::getline(split, l);) lines.push_back(l);
    return lines;
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
  auto out = with_person("4\n1\n0\n", [&](ui::Ui& u) { scape.SOUNDPRESENTATION(u, map.here()); });
  // Special sounds, the kinds' sounds, then a special sound listed after them.
  const std::vector<std::string> expected{"LIST All sounds presentation: Select sound",
                                          "* 1. other line",
                                          "  2. user bookmark",
                                          "  3. shop",
                                          "  4. bell",
                                          "LIST All sounds presentation: Select sound",
                                          "  1. other line",
                                          "  2. user bookmark",
                                          "  3. shop",
                                          "* 4. bell",
                                          "LIST All sounds presentation: Select sound",
                                          "* 1. other line",
                                          "  2. user bookmark",
                                          "  3. shop",
                                          "  4. bell"};
  EXPECT_EQ(out, expected);
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

TEST_F(SoundMenu, ChosenDeviceReopensTheEngineUnmutedWithTheSpeakerTest) {
  scape.settings().SOUNDMUTED = true;
  auto out = with_person("1\n", [&](ui::Ui& u) { scape.SELECTSOUNDDEVICE(u); });
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[0], "LIST Change sound card: Select playback device");
  ASSERT_TRUE(engine.has_device());
  EXPECT_EQ(out[1], "* 1. " + engine.SOUNDDEVICENAME());
  EXPECT_FALSE(scape.settings().SOUNDMUTED);
  auto h = heard(engine);
  ASSERT_EQ(h.size(), 1u);  // the speaker test, on the left
  EXPECT_FLOAT_EQ(h[0].x, -5.0f);
}

TEST_F(SoundMenu, CancelledDeviceChoiceChangesNothing) {
  scape.SETSOUNDSCAPE(map.here());
  auto out = with_person("0\n", [&](ui::Ui& u) { scape.SELECTSOUNDDEVICE(u); });
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
  EXPECT_EQ(engine.SOUNDDEVICENAME(), "");
}

TEST_F(SoundMenu, ExchangingChannelsAsksFirst) {
  scape.SETSOUNDSCAPE(map.here());
  auto out = with_person("n\n", [&](ui::Ui& u) { scape.SWITCHSOUNDSPEAKERS(u, map.here()); });
  EXPECT_EQ(out, std::vector<std::string>{"ASK Exchange sound channels?"});
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
  with_person("y\n", [&](ui::Ui& u) { scape.SWITCHSOUNDSPEAKERS(u, map.here()); });
  EXPECT_EQ(sound_at(engine, -2, 0), "shop");  // east is now played on the left
}

TEST_F(SoundMenu, HrtfSwitchRewritesTheConfigurationAndReopens) {
  scape.settings().SOUNDMUTED = true;
  auto out = with_person("", [&](ui::Ui& u) { scape.SWITCHSOUNDHRTFMODE(u, map.here()); });
  EXPECT_EQ(out, std::vector<std::string>{
                     "INFO This change will take effect after restarting the program."});
  EXPECT_FALSE(engine.settings().SOUNDHRTFMODE);
  std::ifstream f(home.dir / "alsoft.ini");
  std::stringstream text;
  text << f.rdbuf();
  EXPECT_EQ(text.str(), "[general]\nhrtf = false\n");
  EXPECT_FALSE(scape.settings().SOUNDMUTED);
  EXPECT_EQ(sound_at(engine, 2, 0), "shop");
}

TEST_F(SoundMenu, FailuresOfTheEngineAreShown) {
  engine.SOUNDCLOSE();
  AudioEngine nowhere(
      {home.sounds(), home.dir / "missing folder" / "alsoft.ini", home.dir / "hrtf"});
  Soundscape s(nowhere, list);
  auto out = with_person("", [&](ui::Ui& u) { s.start_engine(u, "no such output device"); });
  EXPECT_EQ(out, (std::vector<std::string>{"INFO Can not create alsoft.ini",
                                           "INFO Can not initialize sound"}));
  SoundList none;
  Soundscape empty(engine, none);
  out = with_person("", [&](ui::Ui& u) { empty.TESTSPEAKERS(u); });
  EXPECT_EQ(out, std::vector<std::string>{"INFO No loaded sounds."});
}

}  // namespace
}  // namespace orvela::sound
