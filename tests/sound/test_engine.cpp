// The engine against OpenAL Soft's null backend: what plays where, which
// OpenAL sources and buffers it keeps, and what it does without a device.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sound/audio_engine.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

using test::heard;
using test::sound_at;

class Engine : public testing::Test {
 protected:
  void SetUp() override {
    test::use_null_backend_by_default();
    for (const char* n : {"a", "b", "c"}) home.add(n);
    ASSERT_TRUE(e.SOUNDINIT("").device_open)
        << "OpenAL Soft should open its null backend (ALSOFT_DRIVERS=null)";
  }
  void apply(const std::vector<std::tuple<int, int, const char*>>& cells) {
    for (auto [x, y, fn] : cells) e.SOUNDSCAPEBINDBUF(x, y, fn, 100, 100);
    e.SOUNDSCAPEAPLY();
  }
  struct SourceState {
    uint32_t id;
    uint16_t buf;
    bool playing;
    ALint al_buffer;
    bool operator==(const SourceState&) const = default;
  };
  std::vector<SourceState> sources() const {
    std::vector<SourceState> v;
    for (uint32_t i = 1; i <= e.SOUNDSRCUSED(); ++i) {
      ALint b = 0;
      alGetSourcei(e.source(i).ID, AL_BUFFER, &b);
      v.push_back({e.source(i).ID, e.source(i).BINDBUFNUM, e.source(i).PLAYING, b});
    }
    return v;
  }

  test::SoundHome home;
  AudioEngine e{home.paths()};
};

TEST_F(Engine, SameTemplateTwiceReusesEverySourceAndBuffer) {
  std::vector<std::tuple<int, int, const char*>> t{{1, 0, "a"}, {2, 3, "a"}, {-1, -1, "b"}};
  apply(t);
  auto first = sources();
  ASSERT_EQ(first.size(), 3u);
  for (const auto& s : first) {
    EXPECT_TRUE(s.playing);
    EXPECT_EQ(static_cast<uint32_t>(s.al_buffer), e.buffer(s.buf).ID);
  }
  EXPECT_EQ(e.SOUNDBUFSUSED(), 2);
  apply(t);
  EXPECT_EQ(sources(), first);
  EXPECT_EQ(e.SOUNDBUFSUSED(), 2);
  EXPECT_EQ(heard(e).size(), 3u);
  EXPECT_EQ(sound_at(e, 2, 3), "a");
  EXPECT_EQ(sound_at(e, -1, -1), "b");
  // The template is consumed by applying it.
  EXPECT_TRUE(e.NEWSOUNDSCAPE().at(2, 3).FNAME.empty());
}

TEST_F(Engine, MovedSoundsKeepTheirSources) {
  apply({{1, 0, "a"}, {0, 2, "b"}});
  auto before = sources();
  apply({{2, 0, "a"}, {0, 1, "b"}});  // the user stepped: same sounds, new places
  EXPECT_EQ(sources(), before);
  EXPECT_EQ(sound_at(e, 2, 0), "a");
  EXPECT_EQ(sound_at(e, 0, 1), "b");
  EXPECT_EQ(heard(e).size(), 2u);
}

TEST_F(Engine, UnloadableFilesLeaveOnlyTheirCellsSilent) {
  home.add("stereo", test::WavLayout{.channels = 2});
  apply({{1, 1, "missing"}, {2, 2, "a"}, {3, 3, "stereo"}, {-2, -2, "../sounds/a"}, {4, 4, "b"}});
  EXPECT_EQ(sound_at(e, 2, 2), "a");
  EXPECT_EQ(sound_at(e, 4, 4), "b");
  EXPECT_EQ(heard(e).size(), 2u);
  for (uint16_t n = 1; n <= e.SOUNDBUFSUSED(); ++n) {
    if (e.buffer(n).LOADED) {
      EXPECT_TRUE(e.buffer(n).FNAME == "a" || e.buffer(n).FNAME == "b");
    }
  }
}

TEST_F(Engine, SingleSoundIsCutByTheNextApply) {
  e.SOUNDPLAY(0, 0, "c", 100, 100);
  ASSERT_EQ(heard(e).size(), 1u);
  EXPECT_FALSE(heard(e)[0].looping);
  apply({{1, 0, "a"}});
  ASSERT_EQ(heard(e).size(), 1u);
  EXPECT_EQ(sound_at(e, 1, 0), "a");
}

TEST_F(Engine, SourceOfASingleSoundReusedForTheSameSoundLoops) {
  e.SOUNDPLAY(0, 0, "a", 100, 100);
  apply({{3, 0, "a"}});
  auto h = heard(e);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_EQ(sound_at(e, 3, 0), "a");
  EXPECT_TRUE(h[0].looping);
}

TEST_F(Engine, BuffersAreKeptWhileHeldAndTheirSlotsReused) {
  apply({{1, 0, "a"}});
  apply({{1, 0, "b"}});
  // The stopped source still held "a" when it was released, so it stays
  // loaded for this pass; the source now plays "b".
  EXPECT_EQ(e.SOUNDBUFSUSED(), 2);
  EXPECT_EQ(sound_at(e, 1, 0), "b");
  apply({{1, 0, "b"}});
  EXPECT_FALSE(e.buffer(1).LOADED);
  EXPECT_TRUE(e.buffer(1).FNAME.empty());
  apply({{1, 0, "c"}, {2, 0, "b"}});
  EXPECT_EQ(e.buffer(1).FNAME, "c");  // the freed slot is taken first
  EXPECT_EQ(e.SOUNDBUFSUSED(), 2);    // slots never shrink
  EXPECT_EQ(sound_at(e, 1, 0), "c");
  EXPECT_EQ(sound_at(e, 2, 0), "b");
}

TEST_F(Engine, SingleSoundsBeyondTheSourceTableAreSilent) {
  home.add("long", test::WavLayout{.samples = test::tone(5.0)});  // still sounding when counted
  for (int k = 0; k < MAXSOUNDSRC + 5; ++k) e.SOUNDPLAY(k % 7, 0, "long", 10, 100);
  EXPECT_EQ(e.SOUNDSRCUSED(), MAXSOUNDSRC);
  EXPECT_EQ(heard(e).size(), MAXSOUNDSRC);
  EXPECT_EQ(e.SOUNDBUFSUSED(), 1);  // one buffer shared by all
}

TEST_F(Engine, AFullTemplateGetsASourcePerCell) {
  // Seven sounds laid so that no cell has two equal neighbours on a line:
  // thinning keeps all 441 cells, more than OpenAL Soft gives by default.
  for (int k = 0; k < 7; ++k) home.add("s" + std::to_string(k));
  for (int k = 0; k < 20; ++k) e.SOUNDPLAY(0, 0, "c", 10, 100);
  for (int x = -10; x <= 10; ++x)
    for (int y = -10; y <= 10; ++y)
      e.SOUNDSCAPEBINDBUF(x, y, "s" + std::to_string(((x + 3 * y) % 7 + 7) % 7), 50, 100);
  e.SOUNDSCAPEAPLY();
  EXPECT_EQ(heard(e).size(), 441u);  // the single sounds were cut, their sources reused
  EXPECT_EQ(e.SOUNDSRCUSED(), 441);
  EXPECT_EQ(sound_at(e, 10, 10), "s5");
  EXPECT_EQ(sound_at(e, -10, -10), "s2");
}

TEST_F(Engine, AStepThatReshufflesAFullTemplateKeepsEveryCellSounding) {
  for (int k = 0; k < 8; ++k) home.add("s" + std::to_string(k));
  // Seven, then eight sounds, laid so that thinning keeps every cell; the
  // second template needs a new sound in about 55 cells while all 441
  // sources of the first still play.
  for (int colours : {7, 8}) {
    for (int x = -10; x <= 10; ++x)
      for (int y = -10; y <= 10; ++y)
        e.SOUNDSCAPEBINDBUF(x, y, "s" + std::to_string(((x + 3 * y) % colours + colours) % colours),
                            50, 100);
    e.SOUNDSCAPEAPLY();
    EXPECT_EQ(heard(e).size(), 441u) << colours << " sounds";
  }
  EXPECT_EQ(sound_at(e, 10, 10), "s0");
}

TEST_F(Engine, OnlyCellsWithinTheRangePlayAndTheTemplateEndsEmpty) {
  e.settings().SOUNDSCAPERANGE = 3;
  apply({{3, 0, "a"}, {4, 0, "b"}, {0, -3, "c"}, {-10, 10, "b"}});
  EXPECT_EQ(sound_at(e, 3, 0), "a");
  EXPECT_EQ(sound_at(e, 0, -3), "c");
  EXPECT_EQ(heard(e).size(), 2u);
  EXPECT_TRUE(e.NEWSOUNDSCAPE().at(4, 0).FNAME.empty());
  e.settings().SOUNDSCAPERANGE = 10;
  apply({});
  EXPECT_TRUE(heard(e).empty());  // nothing left over from the smaller range
}

TEST_F(Engine, SingleSoundsAreAttenuatedLikeTheSoundscape) {
  apply({{1, 0, "a"}});
  e.SOUNDPLAY(-1, 0, "b", 100, 100);  // takes a fresh source
  apply({});
  e.SOUNDPLAY(-1, 0, "b", 100, 100);  // takes the soundscape's old source
  for (uint32_t i = 1; i <= e.SOUNDSRCUSED(); ++i) {
    if (e.buffer(e.source(i).BINDBUFNUM).FNAME != "b" || !e.source(i).PLAYING) continue;
    ALfloat ref = 0;
    alGetSourcef(e.source(i).ID, AL_REFERENCE_DISTANCE, &ref);
    EXPECT_FLOAT_EQ(ref, 2.0f);
  }
}

struct Placement {
  const char* name;
  bool exchanged, mono;
  uint8_t factor;
  int x, y;
  float px, py, pz;
};

class Placements : public Engine, public testing::WithParamInterface<Placement> {};

TEST_P(Placements, PutTheCellWhereTheSettingsSay) {
  const Placement& p = GetParam();
  e.settings().SOUNDSPEAKERSCHANGED = p.exchanged;
  e.settings().SOUNDMONO = p.mono;
  e.settings().SOUNDDISTANCEFACTOR = p.factor;
  e.SOUNDSCAPEBINDBUF(p.x, p.y, "a", 100, 100);
  e.SOUNDSCAPEAPLY();
  auto h = heard(e);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_FLOAT_EQ(h[0].x, p.px);
  EXPECT_FLOAT_EQ(h[0].y, p.py);
  EXPECT_FLOAT_EQ(h[0].z, p.pz);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Placements,
    testing::Values(Placement{"East", false, false, 5, 3, 0, 15, 0, 0},
                    Placement{"NorthIsAhead", false, false, 5, 0, 2, 0, 0, -10},
                    Placement{"SouthWest", false, false, 5, -2, -1, -10, 0, 5},
                    Placement{"ExchangedMirrorsEast", true, false, 5, 3, 0, -15, 0, 0},
                    Placement{"ExchangedKeepsNorth", true, false, 5, 1, 2, -5, 0, -10},
                    Placement{"MonoIsDistanceOnly", false, true, 5, 3, 4, 0, 0, 25},
                    Placement{"MonoSouthWest", false, true, 5, -3, -4, 0, 0, 25},
                    Placement{"MonoRoundsDistance", false, true, 5, 1, 1, 0, 0, 5},
                    Placement{"DistanceFactor", false, false, 2, 3, -1, 6, 0, 2},
                    Placement{"ZeroFactorCountsAsOne", false, false, 0, 3, 0, 3, 0, 0}),
    [](const testing::TestParamInfo<Placement>& i) { return std::string(i.param.name); });

TEST_F(Engine, ListenerOrientationIsMirroredWithExchangedSpeakers) {
  auto at = [&] {
    ALfloat o[6];
    alGetListenerfv(AL_ORIENTATION, o);
    return std::vector<float>(o, o + 6);
  };
  e.SOUNDSETUORIENTATION(1.0f, 0.0f);  // facing east
  EXPECT_EQ(at(), (std::vector<float>{1, 0, -0.f, 0, 1, 0}));
  e.settings().SOUNDSPEAKERSCHANGED = true;
  e.SOUNDSETUORIENTATION(0.71f, 0.71f);
  EXPECT_EQ(at(), (std::vector<float>{-0.71f, 0, -0.71f, 0, 1, 0}));
}

TEST_F(Engine, NewSourcesSouthOfTheUserPlayLower) {
  apply({{2, -1, "a"}, {3, 0, "b"}, {0, 4, "c"}});
  for (const auto& h : heard(e)) {
    EXPECT_FLOAT_EQ(h.pitch, h.z > 0 ? 0.89f : 1.0f) << h.sound;
  }
  e.settings().SOUNDBEHINDLOWER = false;
  EXPECT_FLOAT_EQ(e.YPITCH(-1), 1.0f);
}

TEST_F(Engine, VolumeStaysWithinItsBounds) {
  struct Step {
    int set;
    int8_t change;
    int expected;
  };
  // set >= 0: SOUNDSETVOLUME(set); otherwise SOUNDCHANGEVOLUME(change).
  const Step steps[] = {{5, 0, 5},    {-1, -5, 5},    {100, 0, 100}, {-1, 5, 100},
                        {-1, -5, 95}, {10, 0, 10},    {-1, -20, 5},  {200, 0, 100},
                        {0, 0, 5},    {-1, 120, 100}, {50, 0, 50},   {-1, -128, 5}};
  EXPECT_EQ(e.SOUNDVOLUME(), 100);
  for (const Step& s : steps) {
    if (s.set >= 0)
      e.SOUNDSETVOLUME(s.set);
    else
      e.SOUNDCHANGEVOLUME(s.change);
    EXPECT_EQ(e.SOUNDVOLUME(), s.expected) << s.set << " " << int(s.change);
    ALfloat gain = 0;
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, s.expected / 100.0f);
  }
}

TEST_F(Engine, HrtfIsAskedForInTheConfigurationAndOnTheContext) {
  std::ifstream f(home.dir / "alsoft.ini");
  std::stringstream text;
  text << f.rdbuf();
  EXPECT_NE(text.str().find("hrtf = true\n"), std::string::npos);
  EXPECT_NE(text.str().find("hrtf-paths = " + (home.dir / "hrtf").string() + ",\n"),
            std::string::npos);
  const char* conf = std::getenv("ALSOFT_CONF");
  ASSERT_NE(conf, nullptr);
  EXPECT_EQ(std::filesystem::path(conf), home.dir / "alsoft.ini");
  HrtfStatus s = e.hrtf_status();
  EXPECT_TRUE(s == HrtfStatus::Enabled || s == HrtfStatus::Required) << static_cast<int>(s);
  EXPECT_FALSE(e.hrtf_name().empty());  // a data set is in use (Debian ships default-44100)
}

TEST_F(Engine, WithoutHrtfTheConfigurationSaysSo) {
  e.SOUNDCLOSE();
  e.settings().SOUNDHRTFMODE = false;
  ASSERT_TRUE(e.SOUNDINIT("").device_open);
  std::ifstream f(home.dir / "alsoft.ini");
  std::stringstream text;
  text << f.rdbuf();
  EXPECT_EQ(text.str(), "[general]\nhrtf = false\n");
}

TEST_F(Engine, ClosingAndReopeningStartsWithEmptyTables) {
  apply({{1, 0, "a"}});
  e.SOUNDPLAY(0, 0, "b", 100, 100);
  e.SOUNDCLOSE();
  EXPECT_FALSE(e.has_device());
  EXPECT_EQ(e.SOUNDSRCUSED(), 0);
  ASSERT_TRUE(e.SOUNDINIT("").device_open);
  EXPECT_EQ(e.SOUNDBUFSUSED(), 0);
  apply({{1, 0, "a"}});
  EXPECT_EQ(sound_at(e, 1, 0), "a");
}

TEST(EngineWithoutDevice, DoesNothingAndSaysSo) {
  test::use_null_backend_by_default();
  test::SoundHome home;
  home.add("a");
  AudioEngine e(home.paths());
  InitResult r = e.SOUNDINIT("no such output device");
  EXPECT_TRUE(r.config_written);
  EXPECT_FALSE(r.device_open);
  EXPECT_FALSE(e.has_device());
  EXPECT_EQ(e.SOUNDBUFLOADWAV("a", 1), WAVE_NO_DEVICE);
  e.SOUNDSCAPEBINDBUF(1, 1, "a", 100, 100);
  e.SOUNDSCAPEAPLY();
  e.SOUNDPLAY(0, 0, "a", 100, 100);
  e.SOUNDSETVOLUME(50);
  e.SOUNDCHANGEVOLUME(-5);
  e.SOUNDSETUORIENTATION(1, 0);
  e.SOUNDSTOPALL();
  EXPECT_EQ(e.SOUNDSRCUSED(), 0);
  EXPECT_EQ(e.SOUNDBUFSUSED(), 0);
  EXPECT_EQ(e.SOUNDVOLUME(), 100);
  e.SOUNDCLOSE();
}

TEST(EngineWithoutDevice, UnwritableConfigurationStillOpensTheDevice) {
  test::use_null_backend_by_default();
  test::SoundHome home;
  AudioEngine e({home.sounds(), home.dir / "no such folder" / "alsoft.ini", home.dir / "hrtf"});
  InitResult r = e.SOUNDINIT("");
  EXPECT_FALSE(r.config_written);
  EXPECT_TRUE(r.device_open);
}

}  // namespace
}  // namespace orvela::sound
