#include "tests/support/MessageTypes.h"

#include <gtest/gtest.h>
#include <string.h>

#include "platform/Message.h"

namespace testing_support {
namespace {

struct MessageType {
  const char* text;
  uint32_t type;
  bool prefix;  // The text begins the message; a name follows.
};

constexpr uint32_t kWarningYesNo = message::kYesNo | message::kIconWarning;

const MessageType kMessageTypes[] = {
    {"Can't find project type", message::kOk, true},
    {"Data header not found!", message::kOk, false},
    {"Crc error corrupt file", message::kOk, false},
    {"Error decompress", message::kOk, false},
    {"Can't find ChannelCount", message::kOk, false},
    {"Can't find FileCount", message::kOk, false},
    {"Can't find winamp version", message::kOk, false},
    {"VandrelViewer.exe not found", message::kOk, false},
    {"Can't init loaderunit", message::kOk, false},
    {"Unable to start vandrelviewer.exe", message::kOk, false},
    {"Unable to copy screensaver to system directory", message::kOk, false},
    {"Error can't write in registry", message::kOk, false},
    {"Please enter the full path of the installation folder.", message::kOk, false},
    {"The path of the installation folder is too long.", message::kOk, false},
    {"Please choose a folder, not a drive, whose names Windows allows.", message::kOk, false},
    {"This file is in use by another program:\n", message::kRetryCancel | message::kIconWarning, true},
    {"The installer was made for code page ", message::kIconError, true},
    {"There was an error while trying to copy one of the installation files.\n", message::kIconError, true},
    {"DirectX 8.1 or higher was not detected on this system\n\rPlease install", message::kIconError, true},
    {"DirectX 8.1 or higher was not detected on this system\r\n", kWarningYesNo, true},
    {"DirectX 8.1 or higher was not detected on this system\n\rDirectX", message::kIconWarning, true},
    {"WinAmp 2.x installation folder could not be detected", kWarningYesNo, true},
    {"WinAmp 3 installation folder could not be detected", kWarningYesNo, true},
    {"Installation successfully completed!", message::kIconInformation, true},
    {"Unable to create a working folder in the temporary folder\n", message::kIconError, true},
    {"The installer cannot use this folder: its name has characters outside", message::kIconError, true},
    {"The engine, Tessaron.dll, could not be started.", message::kIconError, true},
    {"Unable to copy the plug-in into WinAmp.", message::kIconError, true},
    {"The folder's path is too long.", message::kIconError, false},
    {"Not enough memory to go on.", message::kIconError, false},
    {"The installation cannot be uninstalled: this file could not be written.\n", message::kIconError, true},
    {"The installer could not be read.", message::kIconError, true},
    {"The installation options could not be shown.", message::kIconError, true},
};

// The first of two boxes of a failed screen-saver copy: the error number.
bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool ExpectedMessageType(const std::string& text, uint32_t* type) {
  if (IsNumber(text)) {
    *type = message::kOk;
    return true;
  }
  for (const MessageType& known : kMessageTypes) {
    if (known.prefix ? text.compare(0, strlen(known.text), known.text) == 0 : text == known.text) {
      *type = known.type;
      return true;
    }
  }
  return false;
}

void CheckMessageType(const std::string& text, const std::string& caption, uint32_t type) {
  uint32_t expected = 0;
  if (!ExpectedMessageType(text, &expected)) {
    ADD_FAILURE() << "a message box the stub has no business showing: [" << caption << "] " << text;
  } else if (type != expected) {
    ADD_FAILURE() << "message box [" << caption << "] " << text << "\nhas type 0x" << std::hex << type
                  << " instead of 0x" << expected;
  }
}

}  // namespace testing_support
