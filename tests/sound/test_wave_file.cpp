// Sound files the engine refuses: never a crash, never a read outside the
// sounds folder, the sound just stays silent.
#include <gtest/gtest.h>

#include "sound/wave_file.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

using test::WavLayout;

struct BadFile {
  const char* name;
  WavLayout layout;
  WaveResult expected;
};

WavLayout with(void (*change)(WavLayout&)) {
  WavLayout w;
  change(w);
  return w;
}

class WaveFiles : public testing::TestWithParam<BadFile> {};

TEST_P(WaveFiles, AreReadOrRefused) {
  test::SoundHome home;
  home.add("x", GetParam().layout);
  WaveData d;
  EXPECT_EQ(read_wave(home.sounds() / "x.wav", d), GetParam().expected);
  if (GetParam().expected == WAVE_OK) {
    EXPECT_EQ(d.freq, GetParam().layout.rate);
    EXPECT_EQ(d.samples, GetParam().layout.samples);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, WaveFiles,
    testing::Values(
        BadFile{"Canonical", WavLayout{}, WAVE_OK},
        BadFile{"TruncatedHeader", with([](WavLayout& w) { w.cut_to = 30; }), WAVE_BAD_HEADER},
        BadFile{"EmptyFile", with([](WavLayout& w) { w.cut_to = 0; }), WAVE_BAD_HEADER},
        BadFile{"Stereo", with([](WavLayout& w) { w.channels = 2; }), WAVE_BAD_HEADER},
        BadFile{"EightBit", with([](WavLayout& w) { w.bits = 8; }), WAVE_BAD_HEADER},
        BadFile{"Compressed", with([](WavLayout& w) { w.format = 3; }), WAVE_BAD_HEADER},
        BadFile{"LongFmtChunk", with([](WavLayout& w) { w.fmt_size = 18; }), WAVE_BAD_HEADER},
        BadFile{"ZeroRate", with([](WavLayout& w) { w.rate = 0; }), WAVE_BAD_HEADER},
        BadFile{"EmptyDataChunk", with([](WavLayout& w) { w.samples.clear(); }), WAVE_BAD_HEADER},
        BadFile{"ClaimsMoreThanFile", with([](WavLayout& w) { w.claimed_data = 100000; }),
                WAVE_SHORT_DATA},
        BadFile{"ClaimsFourGigabytes", with([](WavLayout& w) { w.claimed_data = 0xFFFFFFF0; }),
                WAVE_SHORT_DATA},
        BadFile{"DataCutShort", with([](WavLayout& w) { w.cut_to = 44 + 100; }), WAVE_SHORT_DATA}),
    [](const testing::TestParamInfo<BadFile>& i) { return std::string(i.param.name); });

TEST(WaveFiles, MissingFileCannotBeOpened) {
  test::SoundHome home;
  WaveData d;
  EXPECT_EQ(read_wave(home.sounds() / "none.wav", d), WAVE_CANNOT_OPEN);
  EXPECT_EQ(read_wave(home.sounds(), d), WAVE_CANNOT_OPEN);  // a folder
}

TEST(WaveFiles, NamesThatLeaveTheSoundsFolderAreRefused) {
  test::SoundHome home;
  for (const char* fn : {"../secret", "/etc/passwd", "sub/x", "..\\x", "..", ".", "", "c:x"}) {
    EXPECT_FALSE(sound_file_path(home.sounds(), fn).has_value()) << fn;
  }
  EXPECT_EQ(sound_file_path(home.sounds(), "road main"), home.sounds() / "road main.wav");
  EXPECT_EQ(sound_file_path(home.sounds(), "..road"), home.sounds() / "..road.wav");
}

TEST(WaveFiles, ALinkOutOfTheSoundsFolderIsNotFollowed) {
  test::SoundHome home;
  test::write_file(home.dir / "secret.wav", test::wav_bytes({}));
  std::filesystem::create_symlink(home.dir / "secret.wav", home.sounds() / "link.wav");
  home.add("real");
  std::filesystem::create_symlink(home.sounds() / "real.wav", home.sounds() / "alias.wav");
  EXPECT_FALSE(existing_sound_file(home.sounds(), "link").has_value());
  EXPECT_FALSE(existing_sound_file(home.sounds(), "missing").has_value());
  EXPECT_TRUE(existing_sound_file(home.sounds(), "real").has_value());
  EXPECT_TRUE(
      existing_sound_file(home.sounds(), "alias").has_value());  // a link inside the folder is fine
}

}  // namespace
}  // namespace orvela::sound
