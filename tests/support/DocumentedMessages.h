#pragma once
// Every message box the stub may show, written down here from the project's
// documents (docs/, the kit's texts/template.toml) rather than taken from the
// stub's own table: a box is judged by what its users were promised, so a
// wrong row in the stub's table fails a test instead of judging itself.
#include <stddef.h>
#include <stdint.h>

#include "payload/Texts.h"

namespace testing_support {

// Words as the documents give them. The key serves only to find the
// translation a test accepted (translations arrive by text number); the
// English is this file's own.
struct DocumentedWords {
  texts::Id key;
  const char* english;
};

// How a box's text stands to its words.
enum class Follows : uint8_t {
  kNothing,  // the words and nothing else
  kMore,     // the words, then what the message is about: a name, the system's reason, advice
};

// Whose words a box's caption holds.
enum class CaptionKind : uint8_t {
  kWords,          // the row's caption words
  kName,           // the name the message is about: an item, the project, a path
  kNumber,         // the system's error number, in decimal
  kOptionsDialog,  // the options dialog's caption, as the box stands for the dialog
};

struct DocumentedMessage {
  // The English up to its first placeholder or name.
  DocumentedWords text;
  Follows follows;
  CaptionKind caption;
  // CaptionKind::kWords only.
  DocumentedWords captionWords;
  // Buttons and icon, as Win32's MB_ values.
  uint32_t type;
};

// One row a message, and one more where the same words come with another
// caption; in no order that matters.
extern const DocumentedMessage kDocumentedMessages[];
extern const size_t kDocumentedMessageCount;

// A screen saver that could not be copied shows its error number first, in
// a box of its own, captioned as the box about the copy is. Its text is the
// number, so no words find it.
extern const DocumentedMessage kErrorNumberMessage;

// The options dialog's caption: its own words for a project without a name,
// else the project's name followed by these.
extern const DocumentedWords kOptionsCaption;
extern const DocumentedWords kOptionsCaptionAfterName;

// The copy message's words, from which tests compose a whole message.
extern const char kCopyFailureEnglish[];

}  // namespace testing_support
