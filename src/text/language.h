#pragma once
// The user's language: which catalogue translates the program's English
// texts. The app makes one Language at start-up, loads the catalogue, then
// installs it so that `_` answers from it for the rest of the run.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/mo_catalogue.h"

namespace orvela::text {

class Language {
 public:
  // `progpath`: the program's folder with its trailing separator (PROGPATH).
  explicit Language(std::string progpath) : progpath_(std::move(progpath)) {}
  ~Language();
  Language(const Language&) = delete;
  Language& operator=(const Language&) = delete;

  // Loads PROGPATH + "lang/" + lang + "." + name + ".mo". "en" needs no file.
  // A missing, unreadable or malformed catalogue leaves English and gives
  // false, as does a second call after a catalogue has been loaded (the
  // first one is kept).
  bool LOADLANG(std::string_view lang, std::string_view name);
  // "en" unless a catalogue is loaded.
  const std::string& GETCURRENTLANG() const { return lang_; }
  // The translation of `s`, or `s` itself.
  std::string TRANSLATE(std::string_view s) const;

  // Makes `_` and TRANSLATE answer from this catalogue until it is destroyed.
  // Called once at start-up, before any other thread exists.
  void install() const;

 private:
  std::string progpath_;
  std::string lang_ = "en";
  std::optional<MoCatalogue> catalogue_;
};

// Looks up an environment variable; nullptr when it is not set.
using EnvLookup = std::function<const char*(const char*)>;

// The two-letter code of the user's language from the locale environment,
// in the order gettext uses for messages: LANGUAGE (its first entry) unless
// the locale from LC_ALL, LC_MESSAGES or LANG is "C"/"POSIX", then that
// locale. "en" when nothing usable is set.
std::string GETUSERLANG(const EnvLookup& env);
std::string GETUSERLANG();

}  // namespace orvela::text
