#include "vpack/cli/Progress.h"

#include <stdio.h>
#include <unistd.h>

namespace vpack {
namespace {

// Long names are cut from the front, where paths differ least, so that the
// line does not wrap on a narrow terminal and break the rewriting.
constexpr size_t kNameRoom = 50;

std::string Shortened(const std::string& name) {
  if (name.size() <= kNameRoom) return name;
  return "..." + name.substr(name.size() - (kNameRoom - 3));
}

}  // namespace

Progress::Progress() : enabled_(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
  if (shown_) fputs("\r\033[K", stderr);
  fflush(stderr);
}

void Progress::Show(size_t index, size_t count, const std::string& name) {
  if (!enabled_) return;
  fprintf(stderr, "\r\033[Kvpack: packing %zu/%zu %s", index + 1, count, Shortened(name).c_str());
  fflush(stderr);
  shown_ = true;
}

}  // namespace vpack
