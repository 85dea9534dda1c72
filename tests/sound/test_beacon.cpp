// The homing beacon: where it is heard, how loud and how high, on the real
// OpenAL engine (null backend).
#include <gtest/gtest.h>

#include <cmath>

#include "sound/beacon.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

// Vaduz, facing north, 10 m squares.
constexpr BeaconListener kHere{47141000, 9521000, 0, 10};

// A point `metres` from kHere towards `azimuth` (a flat approximation,
// plenty for a few kilometres).
BeaconTarget towards(double metres, double azimuth) {
  const double rad = azimuth * M_PI / 180.0;
  const double dlat = metres * std::cos(rad) / 111194.9;
  const double dlon = metres * std::sin(rad) / (111194.9 * std::cos(47.141 * M_PI / 180.0));
  return {"B", kHere.ULAT + static_cast<int32_t>(std::lround(dlat * 1e6)),
          kHere.ULON + static_cast<int32_t>(std::lround(dlon * 1e6))};
}

TEST(BeaconVoice, StandsWhereThePointIsUpToTheRangesEdge) {
  struct Case {
    double metres, azimuth;
    uint16_t sqmeters;
    double x, y;  // cells
  };
  const Case cases[] = {
      {50, 90, 10, 5, 0},    // inside the range: where it is
      {30, 180, 10, 0, -3},  //
      {600, 90, 10, 10, 0},  // beyond: on the edge in its direction
      {6000, 315, 10, -7.07, 7.07},
      {600, 90, 100, 6, 0},  // larger squares bring it inside
      {0, 0, 10, 0, 0},      // standing on it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.metres);
    BeaconListener l = kHere;
    l.SQMETERS = c.sqmeters;
    const BeaconVoice v = beacon_voice(towards(c.metres, c.azimuth), l, 10);
    EXPECT_NEAR(v.x, c.x, 0.1);
    EXPECT_NEAR(v.y, c.y, 0.1);
  }
}

TEST(BeaconVoice, QuieterFartherAwayButNeverSilent) {
  double last = 2;
  for (double m : {0.0, 20.0, 100.0, 300.0, 1000.0, 3000.0}) {
    const double g = beacon_voice(towards(m, 45), kHere, 10).gain;
    EXPECT_LT(g, last) << m;
    last = g;
  }
  for (double m : {10000.0, 100000.0, 1000000.0}) {
    const double g = beacon_voice(towards(m, 45), kHere, 10).gain;
    EXPECT_LE(g, last) << m;
    EXPECT_GT(g, 0.05) << m;
    last = g;
  }
  // The range's edge in cells counts, not metres: 100 m is the edge at 10 m
  // squares and well inside at 100 m squares.
  BeaconListener coarse = kHere;
  coarse.SQMETERS = 100;
  EXPECT_GT(beacon_voice(towards(100, 45), coarse, 10).gain,
            beacon_voice(towards(100, 45), kHere, 10).gain);
}

TEST(BeaconVoice, PitchRisesAsTheUserFacesIt) {
  const BeaconTarget east = towards(200, 90);
  double last = 0;
  for (int32_t udir : {270, 225, 180, 135, 90}) {
    BeaconListener l = kHere;
    l.UDIR = udir;
    const double p = beacon_voice(east, l, 10).pitch;
    EXPECT_GT(p, last) << udir;
    last = p;
  }
  // Turned as far to the left as to the right sounds the same.
  BeaconListener left = kHere, right = kHere;
  left.UDIR = 60;
  right.UDIR = 120;
  EXPECT_DOUBLE_EQ(beacon_voice(east, left, 10).pitch, beacon_voice(east, right, 10).pitch);
  EXPECT_LT(beacon_voice(east, kHere, 10).pitch, last);
}

class BeaconOnEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    test::use_null_backend_by_default();
    home.add(BEACONSOUND, test::WavLayout{.samples = test::tone(1.0)});
    home.add("hum", test::WavLayout{.samples = test::tone(1.0)});
    ASSERT_TRUE(engine.SOUNDINIT("").device_open);
  }
  ALint state() const {
    ALint s = AL_STOPPED;
    if (beacon.source() != 0) alGetSourcei(beacon.source(), AL_SOURCE_STATE, &s);
    return s;
  }
  std::array<float, 3> position() const {
    std::array<float, 3> p{};
    alGetSource3f(beacon.source(), AL_POSITION, &p[0], &p[1], &p[2]);
    return p;
  }
  test::SoundHome home;
  AudioEngine engine{home.paths()};
  Beacon beacon{engine, home.sounds()};
};

TEST_F(BeaconOnEngine, LoopsOnItsOwnSourceThroughSoundscapeUpdates) {
  beacon.play(kHere);
  EXPECT_EQ(beacon.source(), 0u) << "no target, no sound";
  beacon.set(towards(50, 90));
  beacon.play(kHere);
  ASSERT_TRUE(beacon.sounding());
  ALint looping = AL_FALSE;
  alGetSourcei(beacon.source(), AL_LOOPING, &looping);
  EXPECT_EQ(looping, AL_TRUE);
  EXPECT_NEAR(position()[0], 25, 0.5);  // 5 cells east, 5 units a cell
  // The soundscape comes and goes around it without stopping it.
  engine.SOUNDSCAPEBINDBUF(1, 1, "hum", 100, 100);
  engine.SOUNDSCAPEAPLY();
  engine.SOUNDSCAPEAPLY();
  EXPECT_TRUE(beacon.sounding());
  engine.SOUNDSTOPALL();
  EXPECT_TRUE(beacon.sounding());
  beacon.stop();
  EXPECT_FALSE(beacon.sounding());
  beacon.play(kHere);
  EXPECT_TRUE(beacon.sounding());
  beacon.off();
  EXPECT_FALSE(beacon.sounding());
  EXPECT_FALSE(beacon.target());
}

TEST_F(BeaconOnEngine, FollowsTheEnginesSpeakersAndMono) {
  beacon.set(towards(50, 90));
  engine.settings().SOUNDSPEAKERSCHANGED = true;
  beacon.play(kHere);
  EXPECT_NEAR(position()[0], -25, 0.5);
  engine.settings().SOUNDMONO = true;
  beacon.play(kHere);
  EXPECT_NEAR(position()[0], 0, 0.01);
  EXPECT_NEAR(position()[2], 25, 0.5);
}

TEST_F(BeaconOnEngine, ReleasedBeforeTheDeviceClosesAndBackAfter) {
  beacon.set(towards(50, 90));
  beacon.play(kHere);
  ASSERT_TRUE(beacon.sounding());
  beacon.release();
  EXPECT_EQ(beacon.source(), 0u);
  engine.SOUNDCLOSE();
  beacon.play(kHere);
  EXPECT_FALSE(beacon.sounding()) << "no device";
  ASSERT_TRUE(engine.SOUNDINIT("").device_open);
  beacon.play(kHere);
  EXPECT_TRUE(beacon.sounding());
  EXPECT_TRUE(beacon.target()) << "the target outlives the device";
}

TEST_F(BeaconOnEngine, WithoutItsSoundFileItStaysSilent) {
  std::filesystem::remove(home.sounds() / "beacon.wav");
  Beacon quiet{engine, home.sounds()};
  quiet.set(towards(50, 90));
  quiet.play(kHere);
  EXPECT_FALSE(quiet.sounding());
  EXPECT_EQ(quiet.source(), 0u);
}

}  // namespace
}  // namespace orvela::sound
