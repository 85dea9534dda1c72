// What actually comes out of the speakers: OpenAL Soft's wave backend
// writes the mixed stereo output to a file, which the tests read back.
// The backend plays in real time, so every capture is kept short.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "sound/beacon.h"
#include "sound/soundscape.h"
#include "sound_fixture.h"
#include "support/wave_capture.h"

namespace orvela::sound {
namespace {

// The library reads its configuration once per process, so the whole
// process records into one file; each test closes the device, which
// finishes the file, before reading it.
const std::filesystem::path& capture_file() {
  static const std::filesystem::path file = [] {
    auto dir =
        std::filesystem::temp_directory_path() / ("orvela-capture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "xdg");
    std::ofstream(dir / "xdg" / "alsoft.conf")
        << ::orvela::test::wave_backend_config(dir / "capture.wav");
    ::setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
    return dir / "capture.wav";
  }();
  return file;
}

struct Levels {
  double left = 0, right = 0;
};

// RMS of each channel of the recording between `from` and `to` seconds.
Levels levels(double from, double to) {
  const std::vector<int16_t> s = ::orvela::test::read_wave_samples(capture_file());
  Levels l;
  std::size_t frames = s.size() / 2;
  auto first = static_cast<std::size_t>(from * 44100),
       last = std::min(frames, static_cast<std::size_t>(to * 44100));
  if (last <= first) return l;
  for (std::size_t i = first; i < last; ++i) {
    l.left += double(s[2 * i]) * s[2 * i];
    l.right += double(s[2 * i + 1]) * s[2 * i + 1];
  }
  l.left = std::sqrt(l.left / double(last - first)) / 32768.0;
  l.right = std::sqrt(l.right / double(last - first)) / 32768.0;
  return l;
}

// When the recording first carries sound: the mixer starts some time after
// the device opens, later still on a busy machine. -1 when it never does.
double onset(double until) {
  for (double t = 0; t < until; t += 0.005) {
    Levels w = levels(t, t + 0.005);
    if (w.left + w.right > 0.002) return t;
  }
  return -1;
}

// Channel levels over the 0.2 s after the sound began.
Levels levels_after_onset() {
  double t = onset(0.4);
  EXPECT_GE(t, 0) << "nothing was heard";
  return t < 0 ? Levels{} : levels(t, t + 0.2);
}

class Capture : public testing::Test {
 protected:
  void SetUp() override {
    capture_file();
    home.add("hum", test::WavLayout{.samples = test::tone(1.0, 2000)});
    home.add("user move", test::WavLayout{.samples = test::tone(0.1, 2000)});
    test::write_file(home.dir / "sounds.ini", "shop = hum\n");
    list.READSOUNDSLIST(home.dir / "sounds.ini", home.sounds());
    ASSERT_TRUE(engine.SOUNDINIT("").device_open);
  }
  // Lets the mixer run for `seconds`, then finishes the recording.
  void record(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    engine.SOUNDCLOSE();
  }

  test::SoundHome home;
  SoundList list;
  AudioEngine engine{home.paths()};
  Soundscape scape{engine, list};
  test::Neighbourhood map;
};

TEST_F(Capture, SpeakerTestIsLouderOnTheLeft) {
  ASSERT_EQ(scape.TESTSPEAKERS(), Soundscape::SpeakerTest::Played);
  record(0.6);
  Levels l = levels_after_onset();
  EXPECT_GT(l.left, 0.005);
  EXPECT_GT(l.left, 2 * l.right) << l.left << " " << l.right;
}

TEST_F(Capture, ObjectEastOfTheUserIsLouderOnTheRight) {
  map.put("p", "shop", {{2, 0}});
  scape.SETSOUNDSCAPE(map.here());
  record(0.6);
  Levels l = levels_after_onset();
  EXPECT_GT(l.right, 0.002);
  EXPECT_GT(l.right, 2 * l.left) << l.left << " " << l.right;
}

TEST_F(Capture, ExchangedSpeakersPutTheEastOnTheLeft) {
  engine.settings().SOUNDSPEAKERSCHANGED = true;
  map.put("p", "shop", {{2, 0}});
  scape.SETSOUNDSCAPE(map.here());
  record(0.6);
  Levels l = levels_after_onset();
  EXPECT_GT(l.left, 2 * l.right) << l.left << " " << l.right;
}

TEST_F(Capture, MutedIsSilentExceptTheStepSound) {
  map.put("p", "shop", {{2, 0}});
  scape.SETSOUNDSCAPE(map.here());
  scape.SWITCHMUTE(map.here());
  scape.PLAYUSERSTEP(map.cells, 0, 0, 100);
  record(0.5);
  // The step (0.1 s) is heard once the mixer has started; after it, nothing.
  double start = onset(0.3);
  ASSERT_GE(start, 0) << "the step sound was not heard";
  Levels after = levels(start + 0.15, 0.5);
  EXPECT_LT(after.left + after.right, 0.0005) << after.left << " " << after.right;
}

// The frequency of the mixed recording between `from` and `to` seconds,
// from the rising zero crossings of both channels summed.
double frequency(double from, double to) {
  const std::vector<int16_t> s = ::orvela::test::read_wave_samples(capture_file());
  auto first = static_cast<std::size_t>(from * 44100),
       last = std::min(s.size() / 2, static_cast<std::size_t>(to * 44100));
  int rises = 0;
  for (std::size_t i = first + 1; i < last; ++i)
    if (s[2 * i - 2] + s[2 * i - 1] < 0 && s[2 * i] + s[2 * i + 1] >= 0) ++rises;
  return last > first ? rises / (static_cast<double>(last - first) / 44100) : 0;
}

// A beacon 50 m east of a user facing north, with a pure tone of `hz`.
class BeaconCapture : public Capture {
 protected:
  void with_tone(double hz) {
    home.add(BEACONSOUND, test::WavLayout{.samples = test::tone(1.0, hz)});
    beacon.set({"B", here.ULAT, here.ULON + 660});  // about 50 m east at 47 degrees
  }
  BeaconListener here{47141000, 9521000, 0, 10};
  Beacon beacon{engine, home.sounds()};
};

TEST_F(BeaconCapture, HeardFromTheSideItStandsOn) {
  with_tone(2000);
  beacon.play(here);
  record(0.6);
  Levels l = levels_after_onset();
  EXPECT_GT(l.right, 0.002);
  EXPECT_GT(l.right, 2 * l.left) << l.left << " " << l.right;
}

TEST_F(BeaconCapture, HigherWhenTheUserFacesIt) {
  with_tone(440);
  beacon.play(here);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  here.UDIR = 90;
  scape.SETSOUNDFROMUDIR(here.UDIR);
  beacon.play(here);
  record(0.7);
  const double start = onset(0.5);
  ASSERT_GE(start, 0) << "nothing was heard";
  const double end =
      static_cast<double>(::orvela::test::read_wave_samples(capture_file()).size() / 2) / 44100;
  const double side = frequency(start + 0.05, start + 0.45);
  const double ahead = frequency(end - 0.45, end - 0.1);
  // 440 Hz at pitch 1.175 from the side, 1.5 straight ahead.
  EXPECT_NEAR(side, 440 * 1.175, 25);
  EXPECT_NEAR(ahead, 440 * 1.5, 25);
}

}  // namespace
}  // namespace orvela::sound
