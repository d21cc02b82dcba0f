#include "vpack/read/CodePageOption.h"

namespace vpack {

void AddCodePageOption(CLI::App* command, unsigned& codePage) {
  command
      ->add_option("--code-page", codePage,
                   "The code page the installer was packed with (default: the one it records, else 1252)")
      ->check(CLI::IsMember({874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}));
}

}  // namespace vpack
