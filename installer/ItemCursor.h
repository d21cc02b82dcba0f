#pragma once
// Where the walk through the payload's items stands: the one thing a step
// leaves for the next, held by the run as one member.
#include <stdint.h>

#include "payload/PayloadFormat.h"

namespace installer {

struct ItemCursor {
  // In a list, an item the payload lacks is passed over and an empty one is
  // a file of the project like any other; outside one, an empty program or
  // start file is damage, refused as if it were missing.
  bool inList;
  // The name read ahead for the entry after the current one, for both:
  // aheadName is that of entry aheadIndex of the list (-1: none).
  int32_t aheadIndex;
  char aheadName[payload::kListNameSize + 1];
  // The folder of the last extraction target, with its final backslash: it
  // and every folder above it exist. Forgotten when folders are removed.
  char knownFolder[payload::kTargetPathSize];
};

// What became of an item the run tried to write; its caller notes why once
// (Installer::NoteExtracted, whose table follows this order).
enum class Extracted : uint8_t {
  kWritten,
  kEmpty,       // no bytes outside a list
  kUnread,      // the payload's bytes could not be had (NoteReadFailure)
  kNoMemory,    // for the inflater's window
  kNotWritten,  // the file's own error
  kDamaged,     // the stored bytes do not inflate
  kNoted,       // the output's steps noted why themselves (last)
};

}  // namespace installer
