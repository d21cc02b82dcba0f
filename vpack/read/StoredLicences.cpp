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
    // Only the last two bytes matter beyond the checksum: the terminator.
    uint8_t last[2] = {1, 1};
    bool intact = false;
    try {
      uint32_t crc = file.ReadPieces(i, [&last](const uint8_t* piece, size_t size) {
        for (size_t at = size > 2 ? size - 2 : 0; at < size; ++at) {
          last[0] = last[1];
          last[1] = piece[at];
        }
      });
      intact = crc == entry.crc;
    } catch (const Error&) {
    }
    if (!intact) {
      licence.problem = "damaged: the installer stops there";
    } else if (entry.size < 2 || entry.size % 2 != 0 || last[0] != 0 || last[1] != 0) {
      licence.problem = "not UTF-16 ending with its terminator: the installer stops there";
    }
    licences.push_back(licence);
  }
  return licences;
}

}  // namespace vpack
