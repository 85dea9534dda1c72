#pragma once
// libarchive converts entry names between UTF-16 (inside 7z archives) and
// the thread's locale. The program runs in the "C" locale, where a name
// like "łąka.orvel" cannot be converted: reading fails and writing makes an
// archive that cannot be read back. While one of these lives, the calling
// thread (only it) works in a UTF-8 locale.
#include <locale.h>

namespace orvela::online {

class Utf8Locale {
 public:
  Utf8Locale() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (utf8_) previous_ = uselocale(utf8_);
  }
  ~Utf8Locale() {
    if (!utf8_) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8Locale(const Utf8Locale&) = delete;
  Utf8Locale& operator=(const Utf8Locale&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_ = static_cast<locale_t>(0);
};

}  // namespace orvela::online
