// What a person hears while walking the demo map: the whole program in
// console mode with OpenAL Soft's wave backend recording the mixed output.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "support/console_runner.h"
#include "support/test_env.h"
#include "support/wave_capture.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

// RMS of both channels over the last `seconds` of a 16-bit stereo recording;
// -1 when nothing was recorded.
double tail_rms(const fs::path& wav, double seconds) {
  const std::vector<int16_t> s = read_wave_samples(wav);
  std::size_t n = std::min(s.size(), static_cast<std::size_t>(seconds * 44100 * 2));
  if (n == 0) return -1;
  double sum = 0;
  for (std::size_t i = s.size() - n; i < s.size(); ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / n) / 32768.0;
}

// Walks from the fountain at the demo map's centre into the streets, then
// waits; `mute` presses Ctrl+Space after the walk. Returns the RMS of the
// last 0.4 s, long after the start-up speaker test and the steps.
double walk_and_listen(bool mute) {
  TempDir home;
  const fs::path wav = home / "out.wav";
  ConsoleRun run;
  run.env = wave_recording_env(home.path());
  run.script = std::string("Ctrl+O\n\n:cancel\nCtrl+G\n-29.998312 -139.997464\nUp\nUp\n") +
               (mute ? "Ctrl+Space\n" : "") + ":wait 1800\nIDM_SAYILEV\n";
  ConsoleResult r = run_console(home.path(), run);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("SAY fountain Cove Fountain"), std::string::npos) << r.out;
  return tail_rms(wav, 0.4);
}

TEST(SoundscapeE2e, WalkingTheDemoMapIsHeardAndMutingSilencesIt) {
  double heard = walk_and_listen(false);
  double muted = walk_and_listen(true);
  EXPECT_GT(heard, 0.002) << "the streets and shops around the user should be audible";
  EXPECT_GE(muted, 0.0) << "no recording";
  EXPECT_LT(muted, 0.0002) << "muted output should be silent";
}

}  // namespace
}  // namespace orvela::test
