// The settings files: the program's orvela.ini and the user's own.
#include "app/settings.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = orvela::fuzz::input_file(data, size, ".ini");
  orvela::app::Settings s;
  orvela::app::READINI(s, file);
  orvela::app::read_user_ini(s, file);
  orvela::app::user_ini_text(s);
  return 0;
}
