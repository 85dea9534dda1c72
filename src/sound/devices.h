#pragma once
// Output devices that OpenAL can open.
#include <optional>
#include <string>
#include <vector>

namespace orvela::sound {

// The names of all playback devices, in the library's order; nothing when
// the library cannot enumerate them (no ALC_ENUMERATE_ALL_EXT).
std::optional<std::vector<std::string>> playback_devices();

}  // namespace orvela::sound
