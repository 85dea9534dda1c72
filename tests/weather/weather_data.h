#pragma once
// The real responses of the weather service in the shared test data, and
// small documents of our own written to a scratch folder.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "support/file_bytes.h"
#include "support/test_env.h"

namespace orvela::weather::test {

using orvela::test::file_bytes;

// A file of ../shared/data/weather; throws (failing the test) when the data
// is not there.
inline std::filesystem::path weather_file(const std::string& name) {
  const auto dir = orvela::test::shared_data_dir();
  if (!dir) throw std::runtime_error("no shared test data");
  const std::filesystem::path p = *dir / "weather" / name;
  if (!std::filesystem::exists(p)) throw std::runtime_error("missing " + p.string());
  return p;
}

inline std::filesystem::path write_file(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
  return p;
}

inline constexpr const char* kBerlin = "owm-current-berlin-de-20200115.xml";
inline constexpr const char* kLodz = "owm-current-lodz-20150614.xml";
inline constexpr const char* kLondon = "owm-current-london-20151020.xml";
inline constexpr const char* kSeattle = "owm-current-seattle-20210607.xml";
inline constexpr const char* kBarcelona3h = "owm-forecast3h-barcelona-20151019.xml";
inline constexpr const char* kBarcelonaDaily = "owm-forecastdaily-barcelona-20151112.xml";
inline constexpr const char* kLondonDaily = "owm-forecastdaily-london-20150614.xml";

}  // namespace orvela::weather::test
