#include "vpack/base/Progress.h"

#include <stdio.h>
#include <unistd.h>

namespace vpack {
namespace {

constexpr int kBarWidth = 24;
// Long names are cut from the front, where paths differ least, so that the
// line does not wrap on a narrow terminal and break the rewriting.
constexpr size_t kNameRoom = 30;
// A redraw costs a write to the terminal; ten a second look continuous.
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

std::string Shortened(const std::string& name) {
  if (name.size() <= kNameRoom) return name;
  return "..." + name.substr(name.size() - (kNameRoom - 3));
}

std::string Megabytes(double bytes) {
  char text[32];
  snprintf(text, sizeof(text), "%.1f", bytes / 1e6);
  return text;
}

// A bar, the share, bytes and rate, and the name cut to fit.
std::string ProgressLine(const char* verb, uint64_t done, uint64_t total, double seconds, const std::string& name) {
  double share = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
  if (share > 1.0) share = 1.0;
  int filled = static_cast<int>(share * kBarWidth);
  std::string bar(static_cast<size_t>(kBarWidth), '.');
  bar.replace(0, static_cast<size_t>(filled), static_cast<size_t>(filled), '#');
  std::string rate = seconds > 0 ? Megabytes(static_cast<double>(done) / seconds) + " MB/s" : "- MB/s";
  char percent[8];
  snprintf(percent, sizeof(percent), "%3d%%", static_cast<int>(share * 100));
  return std::string("vpack: ") + verb + " [" + bar + "] " + percent + " " + Megabytes(static_cast<double>(done)) +
         " of " + Megabytes(static_cast<double>(total)) + " MB, " + rate + "  " + Shortened(name);
}

}  // namespace

Progress::Progress(const char* verb, uint64_t total, bool wanted)
    : verb_(verb),
      total_(total),
      enabled_(wanted && isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()),
      last_(start_ - kRedrawEvery) {}

Progress::~Progress() {
  if (shown_) fputs("\r\033[K", stderr);
  fflush(stderr);
}

void Progress::Update(uint64_t done, const std::string& name) {
  if (!enabled_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - last_ < kRedrawEvery && done < total_) return;
  last_ = now;
  double seconds = std::chrono::duration<double>(now - start_).count();
  fprintf(stderr, "\r\033[K%s", ProgressLine(verb_, done, total_, seconds, name).c_str());
  fflush(stderr);
  shown_ = true;
}

}  // namespace vpack
