#include "gps/gps.h"

#include <fmt/format.h>

#include <system_error>
#include <utility>

#include "gps/serial.h"
#include "text/messages.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::gps {

using text::_;

namespace {

// How long a receiver read waits before it looks whether to stop: the
// longest a disconnect waits for the worker.
constexpr std::chrono::milliseconds kReadTimeout{100};

}  // namespace

Gps::Gps(ui::Ui& ui, text::Messages& msg, explore::Explorer& ex, const map::Grid& grid,
         const explore::DirectionTables& tables, const explore::ExploreSettings& explore_settings,
         const GpsSettings& settings)
    : ui_(ui),
      msg_(msg),
      tables_(tables),
      settings_(settings),
      follower_(ex, grid, msg, tables, explore_settings, settings) {}

Gps::~Gps() {
  shutdown();
  *alive_ = false;
}

// ---- sources -------------------------------------------------------------------

void Gps::GPSLOGOPEN() {
  const auto fn = ui_.WGWYBORPLI(
      ui::WGFOPEN, _("Open GPS log"),
      {ui::FileFilter{tables_.FTYPEOPENNMEALOG.description, tables_.FTYPEOPENNMEALOG.pattern}});
  if (!fn) return;
  // Read beside whatever plays now: a file that is no log leaves it playing.
  GpsStateList list;
  const int32_t n = NMEAREADLOG(*fn, list);
  if (n < 0) {
    ui_.WGINFO(_("Error reading file."));
    return;
  }
  if (n == 0) {
    ui_.WGINFO(_("No information loaded, probably it's not log file"));
    return;
  }
  ui_.WGINFO(text::STRTOKENREPLACE(_("{count} NMEA records processed."), {"count", text::STR2(n)}));
  if (mode_ == NMEAMODE_GPS) {
    // The receiver goes on; the entries wait for a later playback.
    std::lock_guard lock(mu_);
    list_ = std::move(list);
    cursor_.reset();
    return;
  }
  // A log that plays ends here, before the new one hands over anything.
  stop_worker();
  {
    std::lock_guard lock(mu_);
    list_ = std::move(list);
    cursor_ = 0;
    state_ = NMEASTATE_IDLE;
  }
  const std::chrono::milliseconds pause{std::max(0, settings_.NMEALOG_SECTIME)};
  start_source(
      NMEAMODE_LOG, [this, pause](uint64_t source) { NMEALOGBGPROCESS(source, pause); },
      _("Can not run thread"));
}

void Gps::GPSOPEN() {
  const auto typed = ui_.WGREADSTR(_("GPS connect"), _("Com port number of GPS device"), "");
  if (!typed) return;
  const auto path = GPSPORTPATH(*typed);
  if (!path) {
    ui_.WGINFO(_("Number expected."));
    return;
  }
  const std::string GPSFN = path->string();
  ui::BgTask task;
  task.texts = {_("Connecting"), _("Please wait..."),
                text::STRTOKENREPLACE(_("Connecting to GPS receiver {name}"), {"name", GPSFN})};
  if (mode_ != NMEAMODE_NONE) NMEADISCONNECT();
  std::unique_ptr<SerialPort> port;
  task.work = [&port, p = *path](ui::BgProgress&) {
    ui::BgResult r;
    port = SerialPort::open(p, r.LASTERR);
    return r;
  };
  const ui::BgResult r = ui_.BGPROCES(std::move(task));
  if (r.cancelled) return;
  if (r.LASTERR > 0 || !port) {
    // The system's words beside the number: "13 (Permission denied)" tells
    // what to do where the number alone would not.
    const std::string err =
        fmt::format("{} ({})", r.LASTERR, std::system_category().message(r.LASTERR));
    ui_.WGINFO(text::STRTOKENREPLACE(_("Error code {err}"), {"err", err}));
    return;
  }
  {
    std::lock_guard lock(mu_);
    state_ = NMEASTATE_IDLE;
  }
  start_source(
      NMEAMODE_GPS,
      [this, p = std::move(port)](uint64_t source) mutable {
        NMEAGPSBGPROCESS(std::move(p), source);
      },
      _("Can not run thread."));
}

template <typename Work>
bool Gps::start_source(NmeaMode mode, Work work, const std::string& failure) {
  // A receiver that was unplugged has ended by itself; its thread is
  // joined here. Any other worker was stopped before.
  if (worker_.joinable()) worker_.join();
  mode_ = mode;
  follower_.reset();
  const uint64_t source = ++source_;
  try {
    worker_ = std::thread(std::move(work), source);
  } catch (const std::system_error&) {
    mode_ = NMEAMODE_NONE;
    ui_.WGINFO(failure);
    return false;
  }
  return true;
}

void Gps::stop_worker() {
  {
    std::lock_guard lock(mu_);
    state_ = NMEASTATE_DISCONNECT;
  }
  cv_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void Gps::NMEADISCONNECT() {
  stop_worker();
  // Updates still on their way belong to the closed source.
  ++source_;
  if (mode_ == NMEAMODE_LOG) {
    {
      std::lock_guard lock(mu_);
      list_.GPSLDESTROY();
      cursor_.reset();
    }
    msg_.EDA(_("Log closed."));
  }
  mode_ = NMEAMODE_NONE;
}

void Gps::shutdown() {
  stop_worker();
  ++source_;
  mode_ = NMEAMODE_NONE;
}

void Gps::set_focus(bool focused) {
  {
    std::lock_guard lock(mu_);
    focused_ = focused;
  }
  cv_.notify_all();
}

// ---- the workers -----------------------------------------------------------------

bool Gps::can_play() const {
  return focused_ && cursor_ && *cursor_ < list_.size() && state_ != NMEASTATE_PAUSED &&
         state_ != NMEASTATE_END && state_ != NMEASTATE_DISCONNECT;
}

// Posting never waits for the window's thread, so it may happen under mu_.
void Gps::hand_over(const NmeaUpdate& u) {
  ui_.post([this, alive = alive_, u] {
    if (*alive) PROCNMEAUPDATE(u);
  });
}

void Gps::NMEALOGBGPROCESS(uint64_t source, std::chrono::milliseconds pause) {
  std::unique_lock lock(mu_);
  while (state_ != NMEASTATE_DISCONNECT) {
    if (!can_play()) {
      // Paused, at the end, or the window away: nothing to do until that changes.
      cv_.wait(lock, [this] { return can_play() || state_ == NMEASTATE_DISCONNECT; });
      continue;
    }
    const std::size_t i = *cursor_;
    const NmeaUpdate u{list_[i], i == 0, i + 1 == list_.size(), source};
    // The last entry is handed over once; it stands until a resume or a seek.
    if (u.last)
      state_ = NMEASTATE_END;
    else
      cursor_ = i + 1;
    pause_cut_ = false;
    // Handed over under the lock: a command that pauses or seeks comes
    // wholly before or wholly after it, never between publishing and posting.
    hand_over(u);
    cv_.wait_for(lock, pause, [this] { return pause_cut_ || state_ == NMEASTATE_DISCONNECT; });
  }
}

void Gps::NMEAGPSBGPROCESS(std::unique_ptr<SerialPort> port, uint64_t source) {
  NmeaParser parser;
  uint64_t count = 0;
  std::string line;
  for (;;) {
    {
      std::lock_guard lock(mu_);
      if (state_ == NMEASTATE_DISCONNECT) break;
    }
    const SerialPort::Read r = port->read_line(line, kReadTimeout);
    if (r == SerialPort::Read::Closed) break;
    if (r == SerialPort::Read::Timeout) continue;
    // Lines that come while paused or while the window is away are dropped.
    std::lock_guard lock(mu_);
    if (!focused_ || state_ != NMEASTATE_IDLE || !parser.NMEAPROCESS(line)) continue;
    ++count;
    hand_over({parser.GPSTATE, count == 1, false, source});
  }
  port.reset();
  ui_.post([this, alive = alive_, source] {
    if (*alive) receiver_ended(source);
  });
}

void Gps::receiver_ended(uint64_t source) {
  msg_.EDANOINT(_("GPS disconnected."));
  // Unplugged: the source is gone. (After a disconnect or a switch the
  // mode already belongs to what came next.)
  if (source == source_ && mode_ == NMEAMODE_GPS) {
    mode_ = NMEAMODE_NONE;
    ++source_;
  }
}

// ---- on the window's thread --------------------------------------------------------

void Gps::PROCNMEAUPDATE(const NmeaUpdate& u) {
  if (mode_ == NMEAMODE_NONE || u.source != source_) return;
  orvelagps_ = u.gs;
  const bool log = mode_ == NMEAMODE_LOG;
  if (log && u.first) msg_.EDANOINT(_("Start of log."));
  const bool moved = follower_.follow(u.gs, u.first);
  if (!moved && settings_.NMEALOG_OMITSTOPS) end_pause();
  if (log && u.last) msg_.EDANOINT(_("End of log."));
}

void Gps::end_pause() {
  {
    std::lock_guard lock(mu_);
    pause_cut_ = true;
  }
  cv_.notify_all();
}

void Gps::seek(std::size_t cursor) {
  {
    std::lock_guard lock(mu_);
    cursor_ = cursor;
    pause_cut_ = true;
    state_ = NMEASTATE_IDLE;
  }
  cv_.notify_all();
}

void Gps::SWITCHNMEAPAUSE() {
  if (mode_ == NMEAMODE_NONE) return;
  bool resumed = false;
  {
    std::lock_guard lock(mu_);
    resumed = state_ == NMEASTATE_PAUSED;
    state_ = resumed ? NMEASTATE_IDLE : NMEASTATE_PAUSED;
  }
  cv_.notify_all();
  msg_.EDA(resumed ? _("GPS resumed.") : _("GPS paused."));
}

void Gps::NMEALOGREWIND(int32_t INCSEC) {
  if (mode_ != NMEAMODE_LOG) return;
  std::size_t to = 0;
  {
    std::lock_guard lock(mu_);
    if (!cursor_ || *cursor_ >= list_.size()) return;
    std::size_t c = *cursor_;
    const int32_t target = NMEAINCTIME(list_[c].TIME, INCSEC);
    if (INCSEC < 0) {
      while (c > 0 && list_[c].TIME > target) --c;
    } else {
      while (c + 1 < list_.size() && list_[c].TIME < target) ++c;
    }
    to = c;
  }
  seek(to);
}

void Gps::NMEALOGREWINDHOME() {
  if (mode_ == NMEAMODE_LOG) seek(0);
}

void Gps::NMEALOGREWINDEND() {
  if (mode_ != NMEAMODE_LOG) return;
  std::size_t last = 0;
  {
    std::lock_guard lock(mu_);
    if (list_.empty()) return;
    last = list_.size() - 1;
  }
  seek(last);
}

void Gps::GPSSAYTIME() {
  if (mode_ == NMEAMODE_NONE) return;
  const int32_t t = orvelagps_.TIME;
  msg_.EDA(fmt::format("{:02}:{:02}:{:02}", t / 10000, t / 100 % 100, t % 100));
}

void Gps::GPSSAYSAT() {
  msg_.EDA(text::STRTOKENREPLACE(
      _("Satellites {cur} of {max}."),
      {"cur", text::STR2(orvelagps_.SAT), "max", text::STR2(orvelagps_.MAXSAT)}));
}

void Gps::GPSSAYHDOP() {
  const std::string a = fmt::format("{}.{}", orvelagps_.HDOP / 10, orvelagps_.HDOP % 10);
  msg_.EDANOINT(text::STRTOKENREPLACE(_("Accuracy: {a}"), {"a", a}));
}

}  // namespace orvela::gps
