#include "text/language.h"

#include <atomic>
#include <cstdlib>

#include "text/translate.h"

namespace orvela::text {

namespace {

// The catalogue `_` reads; set once at start-up.
std::atomic<const Language*> g_installed{nullptr};

std::string translate_installed(std::string_view s) {
  const Language* lang = g_installed.load();
  return lang ? lang->TRANSLATE(s) : std::string(s);
}

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A language code ends up in a file name: letters, digits, "_" and "-" only,
// so "--lang ../../x" cannot point anywhere else.
bool safe_code(std::string_view lang) {
  if (lang.empty() || lang.size() > 8) return false;
  for (char c : lang)
    if (!is_letter(c) && !(c >= '0' && c <= '9') && c != '_' && c != '-') return false;
  return true;
}

std::string_view nonempty(const char* v) { return v ? std::string_view(v) : std::string_view(); }

// "pl_PL.UTF-8@euro" -> "pl"; empty when it does not start with a language.
std::string language_part(std::string_view locale) {
  std::string code;
  for (char c : locale) {
    if (!is_letter(c)) break;
    code += static_cast<char>(c | 0x20);
  }
  std::size_t next = code.size();
  bool ends_cleanly = next == locale.size() ||
                      std::string_view("_.@-:").find(locale[next]) != std::string_view::npos;
  if (code.size() < 2 || code.size() > 3 || !ends_cleanly) return {};
  return code;
}

}  // namespace

Language::~Language() {
  const Language* self = this;
  g_installed.compare_exchange_strong(self, nullptr);
}

bool Language::LOADLANG(std::string_view lang, std::string_view name) {
  if (catalogue_) return false;
  if (lang == "en") {
    lang_ = "en";
    return true;
  }
  lang_ = "en";
  if (!safe_code(lang) || name.empty() || name.find('/') != std::string_view::npos) return false;
  std::string file = progpath_ + "lang/" + std::string(lang) + "." + std::string(name) + ".mo";
  catalogue_ = MoCatalogue::load(file);
  if (!catalogue_) return false;
  lang_ = std::string(lang);
  return true;
}

std::string Language::TRANSLATE(std::string_view s) const {
  if (!catalogue_) return std::string(s);
  auto t = catalogue_->find(s);
  return t && !t->empty() ? std::string(*t) : std::string(s);
}

void Language::install() const {
  g_installed.store(this);
  set_translator(&translate_installed);
}

std::string GETUSERLANG(const EnvLookup& env) {
  std::string_view locale;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = nonempty(env(var));
    if (!locale.empty()) break;
  }
  if (locale.empty() || locale == "C" || locale.starts_with("C.") || locale == "POSIX") return "en";
  std::string_view language = nonempty(env("LANGUAGE"));
  while (!language.empty()) {
    std::size_t colon = language.find(':');
    std::string code = language_part(language.substr(0, colon));
    if (!code.empty()) return code;
    if (colon == std::string_view::npos) break;
    language.remove_prefix(colon + 1);
  }
  std::string code = language_part(locale);
  return code.empty() ? "en" : code;
}

std::string GETUSERLANG() {
  return GETUSERLANG([](const char* name) -> const char* { return std::getenv(name); });
}

}  // namespace orvela::text
