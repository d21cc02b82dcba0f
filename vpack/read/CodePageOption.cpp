#include "vpack/read/CodePageOption.h"

#include <stdlib.h>

#include "vpack/base/CodePage.h"

namespace vpack {

void AddCodePageOption(CLI::App* command, unsigned& codePage) {
  CLI::Validator supported(
      [](std::string& text) {
        char* end = nullptr;
        unsigned long number = strtoul(text.c_str(), &end, 10);
        bool whole = !text.empty() && *end == '\0' && number <= 0xFFFF;
        if (whole && IsSupportedCodePage(static_cast<unsigned>(number))) return std::string();
        return text + " is not one of " + kSupportedCodePages;
      },
      kSupportedCodePages);
  command
      ->add_option("--code-page", codePage,
                   "The code page the installer was packed with (default: the one it records, else 1252)")
      ->check(supported);
}

}  // namespace vpack
