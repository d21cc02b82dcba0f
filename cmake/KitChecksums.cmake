# Install step of the release kit: SHA256SUMS at the kit's top, in the form
# `sha256sum -c SHA256SUMS` checks, for every file installed before it.
file(GLOB_RECURSE kit_files RELATIVE ${kit_root} ${kit_root}/*)
list(REMOVE_ITEM kit_files SHA256SUMS)
list(SORT kit_files)
set(sums "")
foreach(f IN LISTS kit_files)
  file(SHA256 ${kit_root}/${f} sum)
  string(APPEND sums "${sum}  ${f}\n")
endforeach()
file(WRITE ${kit_root}/SHA256SUMS "${sums}")
