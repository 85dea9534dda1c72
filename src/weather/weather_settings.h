#pragma once
// Where the weather comes from: keys of orvela.ini, read at start-up and
// used by every weather command.
#include <string>

namespace orvela::weather {

struct WeatherSettings {
  // The data interface's base address, ending in "/data/2.5/".
  std::string weather_service = "https://api.openweathermap.org/data/2.5/";
  // The user's own key for that service (32 lower-case hexadecimal
  // characters); the project has none to give, so it starts empty.
  std::string weather_api_key;
};

}  // namespace orvela::weather
