#pragma once
// Every message box of the installer: its text, caption, buttons and icon,
// and how the name and the system's reason it is about join the text. The
// stub's one reporter shows them from here, and the tests judge every box
// they meet by the same rows.
#include <stdint.h>

#include "payload/Texts.h"
#include "platform/Message.h"

namespace messages {

enum class Id : uint8_t {
  kNone,
  kMissingItem,
  kNoDataHeader,
  kCrcError,
  kDecompress,
  kNoChannelCount,
  kNoFileCount,
  kNoWinampVersion,
  kViewerNotFound,
  kNoLoader,
  kViewerNotStarted,
  kSaverNotCopied,
  kRegistry,
  kFolderEmpty,
  kFolderTooLong,
  kFolderNotAllowed,
  kFolderOutsideCodePage,
  kOutsideCodePage,
  kFileHeld,
  kForeignCodePage,
  kCopyFailure,
  kNoDirectXRun,
  kAskDirectX,
  kNoDirectXSaver,
  kNoDirectXPlugin,
  kAskWinamp2,
  kAskWinamp3,
  kDone,
  kDoneStartMenu,
  kNoWorkFolder,
  kNoEngine,
  kPluginNotCopied,
  kBrowsedTooLong,
  kNoMemory,
  kOutOfMemory,
  kNoRecord,
  kUnreadable,
  kNoOptions,
  kNoLog,
  kNoSpace,      // the options dialog comes back on Retry
  kNoSpaceHere,  // Retry asks the same folder again
  kCount,
};

// How the text, the name and the system's reason make the message.
enum class Form : uint8_t {
  kAlone,           // the text
  kNameAfter,       // the text, then a space and the name where there is one
  kReason,          // the text, then the reason on a paragraph of its own
  kAbout,           // the text, the name on a line, the reason, the advice
  kAboutWithReason, // as kAbout where there is a reason, else the text alone
  kNumberFirst,     // a box of the error number, then one of the text
  kThenCopy,        // the text alone, then the copy message about the file
};

struct Shape {
  texts::Id text;
  // A text, or texts::Id::kName / kNumber for the name or the error number.
  texts::Id caption;
  Form form;
  // The box's buttons and icon (message::kOk ...), all of which fit a byte.
  uint8_t type;
  // kAbout: a paragraph after the reason; texts::Id::kNone for none.
  texts::Id advice;
};

namespace shape {

using texts::Id;
using message::kIconError;
using message::kIconInformation;
using message::kIconWarning;
using message::kOk;
using message::kRetryCancel;
using message::kYesNo;

constexpr Id kNo = Id::kNone;
constexpr uint8_t kError = kOk | kIconError;
constexpr uint8_t kAsk = kYesNo | kIconWarning;


inline constexpr Shape kShapes[static_cast<int>(messages::Id::kCount)] = {
    {kNo, kNo, Form::kAlone, kOk, kNo},
    {Id::kMissingItem, Id::kCaptionError, Form::kNameAfter, kOk, kNo},
    {Id::kNoDataHeader, Id::kCaptionError, Form::kAlone, kOk, kNo},
    {Id::kCrcError, Id::kName, Form::kAlone, kOk, kNo},
    {Id::kDecompress, Id::kCaptionError, Form::kThenCopy, kOk, kNo},
    {Id::kNoChannelCount, Id::kCaptionError, Form::kAlone, kOk, kNo},
    {Id::kNoFileCount, Id::kCaptionError, Form::kAlone, kOk, kNo},
    {Id::kNoWinampVersion, Id::kCaptionError, Form::kAlone, kOk, kNo},
    {Id::kViewerNotFound, Id::kCaptionViewer, Form::kAlone, kOk, kNo},
    {Id::kNoLoader, Id::kCaptionViewer, Form::kAlone, kOk, kNo},
    {Id::kViewerNotStarted, Id::kNumber, Form::kAlone, kOk, kNo},
    {Id::kSaverNotCopied, Id::kName, Form::kNumberFirst, kOk, kNo},
    {Id::kRegistry, Id::kName, Form::kAlone, kOk, kNo},
    // The options dialog's refusals, captioned as the dialog is.
    {Id::kFolderEmpty, Id::kName, Form::kAlone, kOk, kNo},
    {Id::kFolderTooLong, Id::kName, Form::kAlone, kOk, kNo},
    {Id::kFolderNotAllowed, Id::kName, Form::kAlone, kOk, kNo},
    {Id::kOutsideCodePage, Id::kName, Form::kAlone, kError, kNo},
    // The same words about a folder the system named.
    {Id::kOutsideCodePage, Id::kCaptionError, Form::kAbout, kError, kNo},
    {Id::kFileHeld, Id::kCaptionInstallationError, Form::kAbout, kRetryCancel | kIconWarning, Id::kFileHeldAdvice},
    {Id::kForeignCodePage, Id::kCaptionError, Form::kAbout, kError, kNo},
    {Id::kCopyFailure, Id::kCaptionInstallationError, Form::kAboutWithReason, kError, kNo},
    {Id::kNoDirectXRun, Id::kCaptionDirectXCheckError, Form::kAlone, kError, kNo},
    {Id::kAskDirectX, Id::kCaptionDirectXCheck, Form::kAlone, kAsk, kNo},
    {Id::kNoDirectXSaver, Id::kName, Form::kAlone, kOk | kIconWarning, kNo},
    {Id::kNoDirectXPlugin, Id::kName, Form::kAlone, kOk | kIconWarning, kNo},
    {Id::kAskWinamp2, Id::kName, Form::kAlone, kAsk, kNo},
    {Id::kAskWinamp3, Id::kName, Form::kAlone, kAsk, kNo},
    {Id::kDone, Id::kName, Form::kAlone, kOk | kIconInformation, kNo},
    {Id::kDoneStartMenu, Id::kName, Form::kAlone, kOk | kIconInformation, kNo},
    {Id::kNoWorkFolder, Id::kCaptionError, Form::kAbout, kError, kNo},
    {Id::kNoEngine, Id::kCaptionError, Form::kReason, kError, kNo},
    {Id::kPluginNotCopied, Id::kCaptionError, Form::kReason, kError, kNo},
    {Id::kBrowsedTooLong, Id::kCaptionError, Form::kReason, kError, kNo},
    // Out of memory for an item, captioned with it; and on the way through a
    // list.
    {Id::kNoMemory, Id::kName, Form::kAlone, kError, kNo},
    {Id::kNoMemory, Id::kCaptionInstallationError, Form::kAlone, kError, kNo},
    {Id::kNoRecord, Id::kCaptionInstallationError, Form::kAbout, kError, kNo},
    {Id::kUnreadable, Id::kCaptionError, Form::kReason, kError, kNo},
    {Id::kNoOptions, Id::kCaptionError, Form::kReason, kError, kNo},
    {Id::kNoLog, Id::kCaptionError, Form::kAbout, kError, kNo},
    {Id::kNoSpace, Id::kCaptionInstallationError, Form::kAbout, kRetryCancel | kIconWarning, Id::kNoSpaceAdvice},
    {Id::kNoSpace, Id::kCaptionInstallationError, Form::kAbout, kRetryCancel | kIconWarning, Id::kNoSpaceRetry},
};

}  // namespace shape

using shape::kShapes;

// A row left out would shift every later one onto the wrong text.
static_assert(kShapes[static_cast<int>(Id::kCount) - 1].advice == texts::Id::kNoSpaceRetry, "one row a message, in order");

inline const Shape& ShapeOf(Id id) { return kShapes[static_cast<int>(id)]; }

}  // namespace messages
