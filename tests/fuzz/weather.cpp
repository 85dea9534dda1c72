// Weather service documents: read, then turned into the report's words, so
// the dates and numbers the file gives go through the formatting too.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_file.h"
#include "weather/owm.h"
#include "weather/report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".xml");
  orvela::weather::FULLWEATHERREC doc;
  orvela::weather::OWMPROCFILE(file, doc);
  orvela::weather::ReportContext ctx;
  ctx.ULAT = 50'000'000;
  ctx.ULON = 19'000'000;
  ctx.GETDIRSTR = [](int32_t deg) { return std::to_string(deg); };
  ctx.WEEKDAYNAMES = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  ctx.now = std::chrono::sys_seconds{std::chrono::seconds{1'600'000'000}};
  orvela::weather::weather_report(doc, ctx);
  return 0;
}
