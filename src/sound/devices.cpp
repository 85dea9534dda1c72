#include "sound/devices.h"

#include <AL/alc.h>

#include <cstring>

namespace orvela::sound {

std::optional<std::vector<std::string>> playback_devices() {
  if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") != ALC_TRUE) return std::nullopt;
  std::vector<std::string> names;
  // NUL-separated names, ended by an empty name.
  const char* p = alcGetString(nullptr, ALC_ALL_DEVICES_SPECIFIER);
  while (p != nullptr && *p != '\0') {
    names.emplace_back(p);
    p += std::strlen(p) + 1;
  }
  return names;
}

}  // namespace orvela::sound
