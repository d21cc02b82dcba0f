#include "tests/support/DocumentedMessages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

using texts::Id;

namespace {

#ifndef _WIN32
// The values Win32 gives these names: the host build has no windows.h, and
// the rows read best in the names the documents use.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_RETRYCANCEL = 0x5;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
#endif

constexpr DocumentedWords kNoWords = {Id::kNone, ""};
constexpr DocumentedWords kError = {Id::kCaptionError, "Error"};
constexpr DocumentedWords kInstallationError = {Id::kCaptionInstallationError, "Installation Error"};
constexpr DocumentedWords kViewer = {Id::kCaptionViewer, "P"};
constexpr DocumentedWords kDirectXCheck = {Id::kCaptionDirectXCheck, "DirectX version check"};
constexpr DocumentedWords kDirectXCheckError = {Id::kCaptionDirectXCheckError, "DirectX version check error"};

constexpr DocumentedWords kOutsideCodePageWords = {
    Id::kOutsideCodePage,
    "The installer cannot use this folder: its name has characters outside the system's code page, and no short "
    "name stands for it."};
constexpr DocumentedWords kNoMemoryWords = {Id::kNoMemory, "Not enough memory to go on."};

// OK with the error icon.
constexpr uint32_t kErrorIcon = MB_OK | MB_ICONERROR;

constexpr Follows kAlone = Follows::kNothing;
constexpr Follows kMore = Follows::kMore;

// A box whose caption is words of its own.
constexpr DocumentedMessage Captioned(DocumentedWords text, Follows follows, DocumentedWords caption, uint32_t type) {
  return {text, follows, CaptionKind::kWords, caption, type};
}

// A box captioned with what it is about.
constexpr DocumentedMessage About(DocumentedWords text, Follows follows, CaptionKind caption, uint32_t type) {
  return {text, follows, caption, kNoWords, type};
}

}  // namespace

const char kCopyFailureEnglish[] =
    "There was an error while trying to copy one of the installation files.\n"
    "Please make sure no applications are running that might be locking some files.";

const DocumentedWords kOptionsCaption = {Id::kCaptionOptions, "Installation Options"};
const DocumentedWords kOptionsCaptionAfterName = {Id::kCaptionOptionsSuffix, " Installation Options"};

// Captioned with the copy's target, as the box about the copy that follows.
const DocumentedMessage kErrorNumberMessage = About(kNoWords, kAlone, CaptionKind::kName, MB_OK);

const DocumentedMessage kDocumentedMessages[] = {
    // The boxes the installer always showed, which the stub keeps message
    // for message (docs/design.md, "Where the stub departs on purpose"):
    // errors with an OK button alone and no icon; a failed copy, a project
    // run in place without DirectX and the success with their icons; the
    // questions with Yes, No and the warning icon.
    // A missing setting's name follows after a space.
    Captioned({Id::kMissingItem, "Can't find project type"}, kMore, kError, MB_OK),
    // The original left its caption open; docs/hardening.md gives "Error".
    Captioned({Id::kNoDataHeader, "Data header not found!"}, kAlone, kError, MB_OK),
    // Captioned with the damaged item's name.
    About({Id::kCrcError, "Crc error corrupt file"}, kAlone, CaptionKind::kName, MB_OK),
    Captioned({Id::kDecompress, "Error decompress"}, kAlone, kError, MB_OK),
    Captioned({Id::kNoChannelCount, "Can't find ChannelCount"}, kAlone, kError, MB_OK),
    Captioned({Id::kNoFileCount, "Can't find FileCount"}, kAlone, kError, MB_OK),
    Captioned({Id::kNoWinampVersion, "Can't find winamp version"}, kAlone, kError, MB_OK),
    Captioned({Id::kViewerNotFound, "VandrelViewer.exe not found"}, kAlone, kViewer, MB_OK),
    Captioned({Id::kNoLoader, "Can't init loaderunit"}, kAlone, kViewer, MB_OK),
    About({Id::kViewerNotStarted, "Unable to start vandrelviewer.exe"}, kAlone, CaptionKind::kNumber, MB_OK),
    // Captioned with the copy's target (the kit's template says the
    // project's name: a name either way).
    About({Id::kSaverNotCopied, "Unable to copy screensaver to system directory"}, kAlone, CaptionKind::kName, MB_OK),
    // Captioned with the key's path (docs/hardening.md).
    About({Id::kRegistry, "Error can't write in registry"}, kAlone, CaptionKind::kName, MB_OK),
    // The file and the system's reason follow (docs/design.md, docs/hardening.md).
    Captioned({Id::kCopyFailure, kCopyFailureEnglish}, kMore, kInstallationError, kErrorIcon),
    Captioned({Id::kNoDirectXRun,
               "DirectX 8.1 or higher was not detected on this system\n\r"
               "Please install DirectX 8.1 or higher for this application to run."},
              kAlone, kDirectXCheckError, kErrorIcon),
    Captioned({Id::kAskDirectX,
               "DirectX 8.1 or higher was not detected on this system\r\n"
               "Please install DirectX 8.1 or higher before running the program that is installed.\r\n"
               "Continue installation?"},
              kAlone, kDirectXCheck, MB_YESNO | MB_ICONWARNING),
    // Warnings, questions and the success carry the project's name.
    About({Id::kNoDirectXSaver,
           "DirectX 8.1 or higher was not detected on this system\n\r"
           "DirectX 8.1 or higher needs to be installed before the screen saver will work."},
          kAlone, CaptionKind::kName, MB_OK | MB_ICONWARNING),
    About({Id::kNoDirectXPlugin,
           "DirectX 8.1 or higher was not detected on this system\n\r"
           "DirectX 8.1 or higher needs to be installed before the winamp plugin will work."},
          kAlone, CaptionKind::kName, MB_OK | MB_ICONWARNING),
    About({Id::kAskWinamp2,
           "WinAmp 2.x installation folder could not be detected by the installer. This program needs "
           "WinAmp 2.x (not WinAmp 3) to run.\nWould you like to continue and manually select your "
           "WinAmp 2.x folder?"},
          kAlone, CaptionKind::kName, MB_YESNO | MB_ICONWARNING),
    About({Id::kAskWinamp3,
           "WinAmp 3 installation folder could not be detected by the installer. This program needs "
           "WinAmp 3 (not WinAmp 2.x) to run.\nWould you like to continue and manually select your "
           "WinAmp 3 folder?"},
          kAlone, CaptionKind::kName, MB_YESNO | MB_ICONWARNING),
    // Also a standalone installation's, where its links could not be made
    // (docs/design.md).
    About({Id::kDone, "Installation successfully completed!"}, kAlone, CaptionKind::kName, MB_OK | MB_ICONINFORMATION),
    About({Id::kDoneStartMenu,
           "Installation successfully completed!\r\n"
           "You are able to find the installed program in the Start menu."},
          kAlone, CaptionKind::kName, MB_OK | MB_ICONINFORMATION),

    // The options dialog's refusals, captioned as the dialog
    // (docs/hardening.md); buttons as the product shows them, documented
    // nowhere.
    About({Id::kFolderEmpty, "Please enter the full path of the installation folder."}, kAlone,
          CaptionKind::kOptionsDialog, MB_OK),
    About({Id::kFolderTooLong, "The path of the installation folder is too long."}, kAlone, CaptionKind::kOptionsDialog,
          MB_OK),
    About({Id::kFolderNotAllowed, "Please choose a folder, not a drive, whose names Windows allows."}, kAlone,
          CaptionKind::kOptionsDialog, MB_OK),
    // A typed folder the code page cannot hold (docs/hardening.md). Caption,
    // buttons and icon as the product shows them; documented nowhere.
    About(kOutsideCodePageWords, kAlone, CaptionKind::kOptionsDialog, kErrorIcon),
    // The same words about a folder the system named, which then follows
    // with the reason (the kit's template). Caption as the kit's template
    // gives error boxes without a caption of their own; buttons and icon as
    // the product shows them; documented nowhere.
    Captioned(kOutsideCodePageWords, kMore, kError, kErrorIcon),

    // The file follows, and advice about Retry and Cancel (docs/hardening.md,
    // docs/unattended.md). Icon as the product shows it; documented nowhere.
    Captioned({Id::kFileHeld, "This file is in use by another program:"}, kMore, kInstallationError,
              MB_RETRYCANCEL | MB_ICONWARNING),
    // Both code pages within, the name after (docs/hardening.md). Buttons and
    // icon as the product shows them; documented nowhere.
    Captioned({Id::kForeignCodePage, "The installer was made for code page "}, kMore, kError, kErrorIcon),

    // The folder or file and the system's reason follow (docs/hardening.md).
    // Here to the log's box, buttons and icon as the product shows them;
    // documented nowhere.
    Captioned({Id::kNoWorkFolder, "Unable to create a working folder in the temporary folder"}, kMore, kError,
              kErrorIcon),
    Captioned({Id::kNoEngine, "The engine, Tessaron.dll, could not be started."}, kMore, kError, kErrorIcon),
    Captioned({Id::kPluginNotCopied, "Unable to copy the plug-in into WinAmp."}, kMore, kError, kErrorIcon),
    Captioned({Id::kNoRecord, "The installation cannot be uninstalled: this file could not be written."}, kMore,
              kInstallationError, kErrorIcon),
    Captioned({Id::kUnreadable, "The installer could not be read."}, kMore, kError, kErrorIcon),
    // Captioned with the file's name (docs/hardening.md), or, the kit's
    // template adds, "Installation Error". Buttons and icon as the product
    // shows them; documented nowhere.
    About(kNoMemoryWords, kAlone, CaptionKind::kName, kErrorIcon),
    Captioned(kNoMemoryWords, kAlone, kInstallationError, kErrorIcon),

    // The reason follows (the kit's template), captioned as the template
    // gives error boxes without a caption of their own. Buttons and icon as
    // the product shows them; documented nowhere.
    Captioned({Id::kBrowsedTooLong, "The folder's path is too long."}, kMore, kError, kErrorIcon),
    // Caption, buttons and icon as the product shows them; documented
    // nowhere.
    Captioned({Id::kNoOptions, "The installation options could not be shown."}, kMore, kError, kErrorIcon),
    // The file and the reason follow (docs/unattended.md), captioned as the
    // kit's template gives a file that cannot be made. Buttons and icon as
    // the product shows them; documented nowhere.
    Captioned({Id::kNoLog, "The log file could not be created."}, kMore, kError, kErrorIcon),

    // The folder and the megabytes follow, with Retry and Cancel; the log's
    // line gives the caption (docs/unattended.md, "Free space"). Icon as the
    // product shows it; documented nowhere.
    Captioned({Id::kNoSpace, "There is not enough free space on the disk of this folder:"}, kMore, kInstallationError,
              MB_RETRYCANCEL | MB_ICONWARNING),
};

const size_t kDocumentedMessageCount = sizeof(kDocumentedMessages) / sizeof(kDocumentedMessages[0]);

}  // namespace testing_support
