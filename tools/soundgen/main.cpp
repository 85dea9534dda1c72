// Writes our synthesised sound set: orvela_soundgen OUTDIR writes one
// 16-bit mono 44.1 kHz WAV per recipe into OUTDIR.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "recipes.h"
#include "wav_writer.h"

namespace sg = orvela::soundgen;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvela_soundgen OUTDIR\n");
    return 2;
  }
  std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  for (const sg::Recipe& r : sg::recipes()) {
    // Seeded by name, so every build makes the same files.
    sg::Rng rng(static_cast<unsigned>(std::hash<std::string>{}(r.name) & 0xffffffffu));
    sg::Loop loop(r.seconds);
    r.draw(loop, rng);
    if (!sg::write_wav(out / (r.name + ".wav"), sg::normalise(loop), sg::kRate)) {
      std::fprintf(stderr, "orvela_soundgen: cannot write %s\n", r.name.c_str());
      return 1;
    }
  }
  return 0;
}
