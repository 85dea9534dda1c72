// The sound set the build synthesised: canonical files, loops without a
// click, sensible loudness, and a sound for every kind our OSM rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

#include "sound/sound_list.h"
#include "sound/wave_file.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

std::vector<std::filesystem::path> sound_files() {
  std::vector<std::filesystem::path> v;
  for (const auto& e : std::filesystem::directory_iterator(test::program_sounds_dir())) {
    if (e.path().extension() == ".wav") v.push_back(e.path());
  }
  std::sort(v.begin(), v.end());
  return v;
}

TEST(SoundSet, EveryFileIsCanonicalMonoAndLoopsWithoutAClick) {
  auto files = sound_files();
  ASSERT_GE(files.size(), 30u);
  int long_ones = 0;
  for (const auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    WaveData w;
    ASSERT_EQ(read_wave(f, w), WAVE_OK);
    EXPECT_EQ(std::filesystem::file_size(f), 44 + w.samples.size() * 2);  // nothing after the data
    if (std::filesystem::file_size(f) > 50000) ++long_ones;
    const auto& s = w.samples;
    ASSERT_GT(s.size(), 2u);
    int inner = 0;
    for (std::size_t i = 1; i < s.size(); ++i) inner = std::max(inner, std::abs(s[i] - s[i - 1]));
    EXPECT_LE(std::abs(s.front() - s.back()), inner)
        << "the loop point jumps more than any step inside";
    int peak = 0;
    double sum = 0;
    for (int16_t v : s) {
      peak = std::max(peak, std::abs(int{v}));
      sum += static_cast<double>(v) * v;
    }
    EXPECT_LT(peak, 30000) << "clips";
    EXPECT_GT(std::sqrt(sum / s.size()) / 32768.0, 0.03) << "too quiet";
  }
  EXPECT_GE(long_ones, 2) << "the speaker test needs sounds over 50000 bytes";
}

TEST(SoundSet, SoundListNamesOnlyExistingFilesAndEverySpecialSound) {
  SoundList list;
  list.READSOUNDSLIST(test::program_sounds_dir().parent_path() / "sounds.ini",
                      test::program_sounds_dir());
  ASSERT_GE(list.SNDTYPES().size(), 25u);
  std::set<std::string> specials;
  for (const auto& f : list.SNDFILES()) {
    EXPECT_GT(f.LEN, 44) << f.FN;
    specials.insert(f.FN);
  }
  for (const char* s : {"user bookmark", "other line", "other point", "other area", "user move",
                        "user move up", "user move down", "additional informations", "beacon"}) {
    EXPECT_TRUE(specials.count(s)) << s;
  }
  EXPECT_NE(list.SNDTYPEFIND("intersection"), "");
  EXPECT_NE(list.SNDTYPEFIND("address"), "");
}

TEST(SoundSet, EveryKindOfOurOsmRulesHasASound) {
  SoundList list;
  list.READSOUNDSLIST(orvela::test::source_dir() / "data" / "sounds.ini",
                      test::program_sounds_dir());
  std::ifstream rules(orvela::test::source_dir() / "data" / "osm.rules");
  if (!rules) GTEST_SKIP() << "data/osm.rules is not there";
  // Administrative boundaries cross everything; they keep the quiet generic
  // line sound on purpose.
  const std::set<std::string> generic{"", "administrative boundary"};
  for (std::string line; std::getline(rules, line);) {
    auto t1 = line.find('\t');
    if (t1 == std::string::npos) continue;
    auto t2 = line.find('\t', t1 + 1);
    std::string kind =
        line.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
    kind.erase(0, kind.find_first_not_of(' '));
    kind.erase(kind.find_last_not_of(' ') + 1);
    if (generic.count(kind)) continue;
    EXPECT_NE(list.SNDTYPEFIND(kind), "") << kind;
  }
}

}  // namespace
}  // namespace orvela::sound
