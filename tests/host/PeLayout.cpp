#include "tests/host/PeLayout.h"

#include <algorithm>

namespace testing_support {
namespace {

class Reader {
 public:
  Reader(const std::string& bytes, std::vector<std::string>* problems) : bytes_(bytes), problems_(problems) {}
  uint32_t Get(uint64_t at, int width) {
    if (at + width > bytes_.size()) {
      problems_->push_back("read past the end at " + std::to_string(at));
      return 0;
    }
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes_[at + i]);
    return value;
  }
  uint32_t W(uint64_t at) { return Get(at, 2); }
  uint32_t D(uint64_t at) { return Get(at, 4); }

 private:
  const std::string& bytes_;
  std::vector<std::string>* problems_;
};

struct Headers {
  uint64_t optional = 0, table = 0;
  uint32_t count = 0, fileAlign = 0, sectionAlign = 0, imageSize = 0, headersSize = 0, checksum = 0;
  uint64_t directories = 0;
  uint32_t directoryCount = 0;
};

uint32_t Checksum(const std::string& image, uint64_t field) {
  uint32_t sum = 0;
  for (uint64_t i = 0; i < image.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    uint32_t word = static_cast<uint8_t>(image[i]);
    if (i + 1 < image.size()) word |= static_cast<uint32_t>(static_cast<uint8_t>(image[i + 1])) << 8;
    sum += word;
    sum = (sum >> 16) + (sum & 0xFFFF);
  }
  return ((sum >> 16) + (sum & 0xFFFF)) + static_cast<uint32_t>(image.size());
}

void CheckSections(PeLayout& out, const Headers& h, const std::string& image) {
  std::vector<std::pair<uint64_t, uint64_t>> raw;
  uint64_t nextRva = 0;
  for (const PeSectionView& s : out.sections) {
    if (s.rva % h.sectionAlign != 0 || s.rva < nextRva) out.problems.push_back(s.name + ": address overlaps or unaligned");
    nextRva = s.rva + (uint64_t{s.virtualSize} + h.sectionAlign - 1) / h.sectionAlign * h.sectionAlign;
    if (s.rawSize == 0) continue;
    if (s.rawOffset % h.fileAlign != 0 || s.rawSize % h.fileAlign != 0) out.problems.push_back(s.name + ": raw data unaligned");
    if (uint64_t{s.rawOffset} + s.rawSize > image.size()) out.problems.push_back(s.name + ": past the file's end");
    if (s.rawOffset < h.headersSize) out.problems.push_back(s.name + ": inside the headers");
    raw.emplace_back(s.rawOffset, uint64_t{s.rawOffset} + s.rawSize);
    out.imageEnd = std::max(out.imageEnd, uint64_t{s.rawOffset} + s.rawSize);
  }
  std::sort(raw.begin(), raw.end());
  for (size_t i = 1; i < raw.size(); ++i) {
    if (raw[i].first < raw[i - 1].second) out.problems.push_back("two sections share file bytes");
  }
  if (nextRva != h.imageSize) out.problems.push_back("image size " + std::to_string(h.imageSize) + " is not " + std::to_string(nextRva));
}

// The section holding [rva, rva + size), or null.
const PeSectionView* Holding(const PeLayout& out, uint32_t rva, uint32_t size) {
  for (const PeSectionView& s : out.sections) {
    if (rva >= s.rva && uint64_t{rva} + size <= uint64_t{s.rva} + std::max(s.virtualSize, s.rawSize)) return &s;
  }
  return nullptr;
}

std::string Bytes(const std::string& image, const PeSectionView& s, uint32_t rva, uint32_t size) {
  uint64_t at = uint64_t{s.rawOffset} + (rva - s.rva);
  if (rva - s.rva + uint64_t{size} > s.rawSize) return std::string();
  return image.substr(at, size);
}

struct Tree {
  PeLayout& out;
  const std::string& image;
  const PeSectionView& section;
  Reader& in;
  std::vector<std::pair<uint32_t, uint32_t>> spans;

  std::string NameAt(uint32_t offset) {
    uint64_t at = uint64_t{section.rawOffset} + offset;
    std::string name;
    uint32_t length = in.W(at);
    for (uint32_t i = 0; i < length; ++i) name.push_back(static_cast<char>(in.W(at + 2 + 2 * i)));
    return name;
  }

  void Walk(uint32_t offset, int depth, PeResourceLeaf leaf) {
    uint64_t at = uint64_t{section.rawOffset} + offset;
    uint32_t named = in.W(at + 12), numbered = in.W(at + 14);
    bool haveLast = false, lastNamed = true;
    std::string lastName;
    uint32_t lastId = 0;
    for (uint32_t i = 0; i < named + numbered; ++i) {
      uint32_t id = in.D(at + 16 + 8 * i), target = in.D(at + 20 + 8 * i);
      bool isNamed = (id & 0x80000000u) != 0;
      if (isNamed != (i < named)) out.problems.push_back("resource entry out of its group");
      std::string name = isNamed ? NameAt(id & 0x7FFFFFFF) : std::to_string(id);
      if (haveLast && lastNamed == isNamed && (isNamed ? !(lastName < name) : !(lastId < id))) {
        out.problems.push_back("resource entries out of order at depth " + std::to_string(depth));
      }
      haveLast = true, lastNamed = isNamed, lastName = name, lastId = id;
      if (depth == 0) leaf.type = isNamed ? 0 : id;
      if (depth == 1) leaf.name = name;
      bool directory = (target & 0x80000000u) != 0;
      if (directory != (depth < 2)) {
        out.problems.push_back("resource tree is not three levels deep");
        continue;
      }
      if (directory) {
        Walk(target & 0x7FFFFFFF, depth + 1, leaf);
        continue;
      }
      leaf.language = id;
      uint32_t rva = in.D(section.rawOffset + target), size = in.D(section.rawOffset + target + 4);
      if (Holding(out, rva, size) != &section) out.problems.push_back("resource data outside the resource section");
      leaf.data = Bytes(image, section, rva, size);
      spans.emplace_back(rva, rva + size);
      out.resources.push_back(leaf);
    }
  }
};

void ReadResourceTree(PeLayout& out, const std::string& image, Reader& in, uint32_t rva, uint32_t size) {
  const PeSectionView* section = Holding(out, rva, size);
  if (section == nullptr || section->rva != rva) {
    out.problems.push_back("resource directory is not a section of its own");
    return;
  }
  Tree tree{out, image, *section, in, {}};
  tree.Walk(0, 0, PeResourceLeaf{});
  std::sort(tree.spans.begin(), tree.spans.end());
  for (size_t i = 1; i < tree.spans.size(); ++i) {
    if (tree.spans[i].first < tree.spans[i - 1].second) out.problems.push_back("resource data overlaps");
  }
}

}  // namespace

PeLayout ReadPeLayout(const std::string& image) {
  PeLayout out;
  Reader in(image, &out.problems);
  uint32_t pe = in.D(0x3C);
  if (image.compare(0, 2, "MZ") != 0 || in.D(pe) != 0x4550) {
    out.problems.push_back("not a PE file");
    return out;
  }
  Headers h;
  h.count = in.W(pe + 6);
  h.optional = pe + 24;
  h.table = h.optional + in.W(pe + 20);
  bool plus = in.W(h.optional) == 0x20B;
  h.sectionAlign = in.D(h.optional + 32), h.fileAlign = in.D(h.optional + 36);
  h.imageSize = in.D(h.optional + 56), h.headersSize = in.D(h.optional + 60), h.checksum = in.D(h.optional + 64);
  h.directoryCount = in.D(h.optional + (plus ? 108 : 92));
  h.directories = h.optional + (plus ? 112 : 96);
  for (uint32_t i = 0; i < h.count; ++i) {
    uint64_t at = h.table + 40 * i;
    std::string name = image.substr(at, 8);
    out.sections.push_back({name.substr(0, name.find('\0')), in.D(at + 12), in.D(at + 8), in.D(at + 20), in.D(at + 16)});
  }
  CheckSections(out, h, image);
  if (image.size() != out.imageEnd) out.problems.push_back("bytes after the last section");
  if (Checksum(image, h.optional + 64) != h.checksum) out.problems.push_back("header checksum is stale");
  for (uint32_t d = 0; d < h.directoryCount && d < 16; ++d) {
    uint32_t rva = in.D(h.directories + 8 * d), size = in.D(h.directories + 8 * d + 4);
    if (rva != 0 && d != 4 && Holding(out, rva, size) == nullptr) {
      out.problems.push_back("data directory " + std::to_string(d) + " leaves its section");
    }
  }
  uint32_t resources = in.D(h.directories + 16), resourcesSize = in.D(h.directories + 20);
  if (resources != 0) ReadResourceTree(out, image, in, resources, resourcesSize);
  uint32_t relocations = in.D(h.directories + 40), relocationsSize = in.D(h.directories + 44);
  if (const PeSectionView* s = relocations != 0 ? Holding(out, relocations, relocationsSize) : nullptr) {
    out.relocations = Bytes(image, *s, relocations, relocationsSize);
  }
  return out;
}

namespace {

uint64_t Align4(uint64_t at) { return (at + 3) & ~uint64_t{3}; }

std::string Utf8(Reader& in, uint64_t at, uint64_t end, uint64_t* after) {
  std::string text;
  for (; at + 2 <= end; at += 2) {
    uint32_t c = in.W(at);
    if (c == 0) break;
    if (c >= 0xD800 && c < 0xDC00) c = 0x10000 + ((c - 0xD800) << 10) + (in.W(at += 2) - 0xDC00);
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      text += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
               static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      text += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
               static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  *after = at + 2;
  return text;
}

}  // namespace

PeVersion ReadPeVersion(const std::string& data) {
  PeVersion version;
  std::vector<std::string> problems;
  Reader in(data, &problems);
  uint64_t after = 0;
  if (in.W(0) != data.size() || Utf8(in, 6, data.size(), &after) != "VS_VERSION_INFO") return version;
  uint64_t fixed = Align4(after);
  if (in.D(fixed) != 0xFEEF04BD) return version;
  for (int i = 0; i < 4; ++i) {
    version.file[i] = static_cast<uint16_t>(in.W(fixed + 8 + (i / 2) * 4 + (i % 2 == 0 ? 2 : 0)));
    version.product[i] = static_cast<uint16_t>(in.W(fixed + 16 + (i / 2) * 4 + (i % 2 == 0 ? 2 : 0)));
  }
  // Children of the root, then of StringFileInfo's one table.
  for (uint64_t child = Align4(fixed + in.W(2)); child < data.size(); child = Align4(child + in.W(child))) {
    uint64_t end = child + in.W(child);
    if (in.W(child) == 0 || end > data.size()) return version;
    if (Utf8(in, child + 6, end, &after) != "StringFileInfo") continue;
    uint64_t table = Align4(after), tableEnd = table + in.W(table);
    Utf8(in, table + 6, tableEnd, &after);
    for (uint64_t s = Align4(after); s < tableEnd; s = Align4(s + in.W(s))) {
      if (in.W(s) == 0) return version;
      std::string key = Utf8(in, s + 6, s + in.W(s), &after);
      version.strings[key] = Utf8(in, Align4(after), s + in.W(s), &after);
    }
  }
  version.sound = problems.empty();
  return version;
}

}  // namespace testing_support
