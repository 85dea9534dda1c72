#include "online/download.h"

#include <curl/curl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <system_error>

#include "text/atomic_file.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/bg_task.h"
#include "ui/ui.h"

namespace orvela::online {

using text::_;

namespace {

// libcurl's global set-up is not safe to race with a first transfer; every
// download passes here first.
void curl_global_once() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct Transfer {
  std::FILE* out = nullptr;
  const DownloadProgress* progress = nullptr;
  int write_errno = 0;  // why the file took less than it was given
};

// WRICALLBACK: a short count makes libcurl fail the transfer; the system's
// reason is kept, so a full disk reaches the user by its name.
size_t write_callback(char* buffer, size_t size, size_t nitems, void* userdata) {
  auto* t = static_cast<Transfer*>(userdata);
  const size_t n = std::fwrite(buffer, 1, size * nitems, t->out);
  // stdio buffers: the disk's refusal may only come at a later flush.
  if (n < size * nitems || std::fflush(t->out) != 0) {
    t->write_errno = errno != 0 ? errno : ENOSPC;
    return 0;
  }
  return n;
}

// PROGRESS: hands the counts to the hook; libcurl calls it at least once a
// second even while nothing arrives, so a cancel is seen soon.
int progress_callback(void* userdata, curl_off_t dltotal, curl_off_t dlnow, curl_off_t /*ultotal*/,
                      curl_off_t /*ulnow*/) {
  auto* t = static_cast<Transfer*>(userdata);
  if (!t->progress || !*t->progress) return 0;
  return (*t->progress)(static_cast<int64_t>(dlnow), static_cast<int64_t>(dltotal));
}

bool is_https(const std::string& url) { return text::LOWCASESTR(url.substr(0, 8)) == "https://"; }

void set_options(CURL* c, const std::string& url, const std::string& user_agent,
                 const TransferLimits& limits, Transfer& t, char* errbuf) {
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progress_callback);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, write_callback);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(c, CURLOPT_VERBOSE, 0L);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(c, CURLOPT_USERAGENT, user_agent.c_str());
  // Worker threads: no signals for time-outs.
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits.connect_timeout_s);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.low_speed_limit);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.low_speed_time_s);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  // What came over a verified connection is never fetched again in clear.
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, is_https(url) ? "https" : "http,https");
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!limits.ca_file.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, limits.ca_file.c_str());
  if (limits.no_proxy) curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
}

uint64_t now_ms() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

DownloadResult DOWNLOADFILE(const std::string& url, const std::filesystem::path& locfile,
                            const std::string& user_agent, const TransferLimits& limits,
                            const DownloadProgress& progress) {
  DownloadResult r;
  curl_global_once();
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(locfile.c_str(), "wb"));
  if (!out) {
    r.error = "can not create file.";
    return r;
  }
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    r.error = "can not start a transfer.";
    return r;
  }
  Transfer t{out.get(), &progress};
  char errbuf[CURL_ERROR_SIZE] = {};
  set_options(curl.get(), url, user_agent, limits, t, errbuf);
  const CURLcode rc = curl_easy_perform(curl.get());
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &r.http_status);
  if (rc == CURLE_ABORTED_BY_CALLBACK) {
    r.aborted = true;
  } else if (rc == CURLE_UNSUPPORTED_PROTOCOL && is_https(url)) {
    // The address that was refused is the one the redirection led to.
    char* to = nullptr;
    curl_easy_getinfo(curl.get(), CURLINFO_EFFECTIVE_URL, &to);
    r.error = to && !is_https(to)
                  ? text::STRTOKENREPLACE(
                        _("The secure address was redirected to the insecure {address}; refused."),
                        {"address", to})
                  : std::string(errbuf[0] ? errbuf : curl_easy_strerror(rc));
  } else if (rc == CURLE_WRITE_ERROR && t.write_errno != 0) {
    r.error = std::system_category().message(t.write_errno);
  } else if (rc != CURLE_OK) {
    r.error = errbuf[0] ? errbuf : curl_easy_strerror(rc);
  }
  if (std::fclose(out.release()) != 0 && r.error.empty() && !r.aborted)
    r.error = std::system_category().message(errno);
  return r;
}

std::string url_escape(std::string_view s) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::optional<std::string> read_downloaded(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(s).str();
}

DownloadRate::DownloadRate(uint64_t now_ms) : next_ms_(now_ms + 200), last_ms_(now_ms) {}

std::optional<std::string> DownloadRate::report(uint64_t now_ms, int64_t dlnow) {
  if (now_ms <= next_ms_) return std::nullopt;
  const int64_t bytes = std::max<int64_t>(0, dlnow - last_dlnow_);
  double seconds = static_cast<double>(now_ms - last_ms_) / 1000.0;
  if (!(seconds > 0)) seconds = 1;
  const int64_t speed = text::round_half_even_i64(static_cast<double>(bytes) / seconds / 1024.0);
  next_ms_ = now_ms + 1000;
  last_ms_ = now_ms;
  last_dlnow_ = dlnow;
  return text::STRTOKENREPLACE(
      _("{dl} KBytes downloaded, transfer rate {dlspeed} KB/Sec."),
      {"dl", std::to_string(dlnow / 1024), "dlspeed", std::to_string(speed)});
}

Downloader::Downloader(std::string user_agent, std::filesystem::path temp_dir,
                       TransferLimits limits)
    : limits(std::move(limits)),
      user_agent_(std::move(user_agent)),
      temp_dir_(std::move(temp_dir)) {}

Downloader::~Downloader() {
  if (tempfile_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(tempfile_, ec);
}

const std::filesystem::path& Downloader::TEMPFILE() {
  if (tempfile_.empty()) {
    // A name of our own, so that two copies of the program never share it,
    // and a temporary one, so that a start after a crash clears it away.
    std::error_code ec;
    std::filesystem::create_directories(temp_dir_, ec);
    tempfile_ = text::create_temp_beside(temp_dir_ / "download.dat");
    if (tempfile_.empty()) tempfile_ = temp_dir_ / "download.dat";
  }
  return tempfile_;
}

void Downloader::ERASETEMPFILE() {
  if (tempfile_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(tempfile_, ec);
}

void Downloader::SETWEBERR(std::string s) {
  weberr_ = std::move(s);
  weberr_displayed_ = weberr_.empty();
}

DownloadResult Downloader::fetch(const std::string& url, const std::filesystem::path& file,
                                 ui::BgProgress& progress) {
  DownloadRate rate(now_ms());
  DownloadProgress hook = [&](int64_t dlnow, int64_t) {
    // ORVELADLPROGRES
    if (progress.BGPROCESCANCEL()) return 1;
    if (auto t = rate.report(now_ms(), dlnow)) progress.BGPROCESINFO(*t, ui::BGPROCESEDIT);
    return 0;
  };
  DownloadResult r = DOWNLOADFILE(url, file, user_agent_, limits, hook);
  cancelled_ = r.aborted || progress.BGPROCESCANCEL();
  http_status_ = r.http_status;
  return r;
}

void Downloader::ORVELADLFILE(const std::string& url, ui::BgProgress& progress) {
  SETWEBERR(fetch(url, TEMPFILE(), progress).error);
}

std::string Downloader::download_to(const std::string& url, const std::filesystem::path& file,
                                    ui::BgProgress& progress) {
  DownloadResult r = fetch(url, file, progress);
  if (r.error.empty() && !cancelled_ && r.http_status >= 400)
    r.error = "HTTP " + std::to_string(r.http_status);
  return r.error;
}

void Downloader::WEBERRWRI(ui::Ui& ui) {
  if (!ISWEBERR() || weberr_displayed_) return;
  std::string reason = weberr_;
  // A page the server sent with an error status failed the caller's format
  // check; the status says more than the format does.
  if (http_status_ >= 400) reason += " (HTTP " + std::to_string(http_status_) + ")";
  ui.WGINFO(text::STRTOKENREPLACE(_("Error - {operation}"), {"operation", WEBOPNAME}) + "\r" +
            reason);
  weberr_displayed_ = true;
}

}  // namespace orvela::online
