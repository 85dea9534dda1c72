#include "ui/ui.h"

#include <algorithm>
#include <cctype>

#include "text/translate.h"

namespace orvela::ui {

void Ui::set_box_titles(std::string info_title, std::string question_title) {
  info_title_ = std::move(info_title);
  question_title_ = std::move(question_title);
}

std::string Ui::with_question_mark(const std::string& s) {
  if (!s.empty() && s.back() == '?') return s;
  return s + "?";
}

namespace {
bool starts_with_nocase(const std::string& s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}
}  // namespace

std::string web_address(const std::string& address) {
  for (std::string_view scheme : {"http://", "https://", "ftp://"})
    if (starts_with_nocase(address, scheme)) return address;
  return "http://" + address;
}

bool Ui::RUNWEB(const std::string& address) {
  const std::string q = text::STRTOKENREPLACE(
      text::_("Do you want to open web page {adr} in default browser?"), {"adr", address});
  if (!WGTN(q)) return false;
  return WGSHELLEXE(web_address(address));
}

bool Ui::RUNMAIL(const std::string& address) {
  const std::string q = text::STRTOKENREPLACE(
      text::_("Do you want to create message to {eml} in default mail client?"), {"eml", address});
  if (!WGTN(q)) return false;
  return WGSHELLEXE("mailto:" + address);
}

}  // namespace orvela::ui
