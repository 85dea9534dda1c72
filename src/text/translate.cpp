#include "text/translate.h"

#include <atomic>

namespace orvela::text {

namespace {
std::atomic<TranslateFn> g_translator{nullptr};
}

void set_translator(TranslateFn fn) { g_translator.store(fn); }

std::string TRANSLATE(std::string_view s) {
  TranslateFn fn = g_translator.load();
  if (!fn) return std::string(s);
  std::string t = fn(s);
  return t.empty() ? std::string(s) : t;
}

std::string GETTOKENREPLACEMENT(std::string_view token, const std::vector<std::string>& pairs) {
  for (size_t i = 0; i + 1 < pairs.size(); i += 2)
    if (pairs[i] == token) return pairs[i + 1];
  return {};
}

std::string STRTOKENREPLACE(std::string_view s, const std::vector<std::string>& pairs) {
  std::string out, name;
  bool in_token = false;
  for (char c : s) {
    if (c == '{') {
      in_token = true;
      name.clear();
    } else if (c == '}') {
      // The name buffer is kept, so a stray "}" repeats the last value.
      out += GETTOKENREPLACEMENT(name, pairs);
      in_token = false;
    } else if (in_token) {
      name += c;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace orvela::text
