#pragma once
// The whole screen as an uncompressed 24-bit BMP file, which any image tool
// reads and which needs no encoder in the driver.
#include <string>

namespace testing_support {

// False when the screen cannot be read or the file cannot be written.
bool SaveScreenshot(const std::string& path);

}  // namespace testing_support
