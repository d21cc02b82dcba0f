#include "vpack/read/StoredLicences.h"

#include "payload/Licence.h"

namespace vpack {

std::vector<StoredLicence> StoredLicences(const InstallerFile& file) {
  std::vector<StoredLicence> licences;
  for (int32_t i = 0; i < file.Count(); ++i) {
    const payload::PayloadEntry& entry = file.Entry(i);
    if (std::string(entry.type) != payload::kTypeLicence) continue;
    StoredLicence licence{i, entry.name, entry.size, std::string()};
    if (entry.size > payload::kMaxLicenceBytes) {
      licence.problem = std::to_string(entry.size) + " bytes, more than the installer shows (" +
                        std::to_string(payload::kMaxLicenceBytes) + "): it stops there";
      licences.push_back(licence);
      continue;
    }
    std::string text;
    bool intact = false;
    try {
      uint32_t crc = file.ReadPieces(i, [&text](const uint8_t* piece, size_t size) {
        text.append(reinterpret_cast<const char*>(piece), size);
      });
      intact = crc == entry.crc;
    } catch (const Error&) {
    }
    if (!intact) {
      licence.problem = "damaged: the installer stops there";
    } else if (text.size() < 2 || text.size() % 2 != 0 || text[text.size() - 1] != 0 || text[text.size() - 2] != 0) {
      licence.problem = "not UTF-16 ending with its terminator: the installer stops there";
    }
    licences.push_back(licence);
  }
  return licences;
}

}  // namespace vpack
