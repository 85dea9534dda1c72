#pragma once
// The homing beacon: a looping sound of its own that plays from the
// direction of a chosen point (a bookmark), near or far. Within the
// soundscape's range it stands where the point is; beyond, on the range's
// edge in the point's direction, quieter the farther the point lies. Its
// pitch rises as the user turns to face it. It has a source of its own, so
// the soundscape's updates never restart it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace orvela::sound {

class AudioEngine;

// The beacon's sound file identifier (in the folder sounds).
inline constexpr const char* BEACONSOUND = "beacon";

struct BeaconTarget {
  std::string NAME;
  int32_t LAT = 0;  // micro-degrees
  int32_t LON = 0;
};

// The user as the beacon needs them.
struct BeaconListener {
  int32_t ULAT = 0;  // micro-degrees
  int32_t ULON = 0;
  int32_t UDIR = 0;        // facing, degrees from north
  uint16_t SQMETERS = 10;  // the cell size, the scale of the soundscape
};

// How the beacon sounds from where the user stands.
struct BeaconVoice {
  double x = 0, y = 0;  // cells east and north of the user, never beyond the range
  double gain = 0;
  double pitch = 1;
};

// The voice of a beacon at `t` heard by `l` with the soundscape reaching
// `range` cells around the user.
BeaconVoice beacon_voice(const BeaconTarget& t, const BeaconListener& l, int32_t range);

class Beacon {
 public:
  // Plays through `engine`'s device, the sound read from `sounds_dir`.
  Beacon(AudioEngine& engine, std::filesystem::path sounds_dir);
  ~Beacon();
  Beacon(const Beacon&) = delete;
  Beacon& operator=(const Beacon&) = delete;

  const std::optional<BeaconTarget>& target() const { return target_; }
  // Points the beacon at `t`; it sounds at the next play().
  void set(BeaconTarget t) { target_ = std::move(t); }
  // Forgets the target and falls silent.
  void off();

  // Sounds for `l` (started, or only moved and tuned when it already
  // plays). Silent without a target, a device or the sound file.
  void play(const BeaconListener& l);
  // Falls silent and keeps the target.
  void stop();
  // Gives back the OpenAL source and buffer: before the engine closes its
  // device. The next play() takes new ones.
  void release();
  // The beacon's source is playing.
  bool sounding() const;
  // The OpenAL source it plays through (0: none yet), for checks.
  uint32_t source() const { return source_; }

 private:
  bool acquire();

  AudioEngine& engine_;
  std::filesystem::path sounds_dir_;
  std::optional<BeaconTarget> target_;
  uint32_t source_ = 0;  // OpenAL names; 0 = none
  uint32_t buffer_ = 0;
};

}  // namespace orvela::sound
