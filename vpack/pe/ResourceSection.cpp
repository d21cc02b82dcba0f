#include "vpack/pe/ResourceSection.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace vpack {
namespace {

constexpr uint32_t kSubdirectory = 0x80000000u;
constexpr size_t kDirectoryHeader = 16;
constexpr size_t kDirectoryEntry = 8;
constexpr size_t kDataEntry = 16;

std::u16string Upper(const std::u16string& text) {
  std::u16string upper = text;
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return upper;
}

ResourceId ReadId(const ByteReader& in, uint32_t field) {
  ResourceId id;
  if ((field & kSubdirectory) == 0) {
    id.id = field;
    return id;
  }
  uint32_t at = field & ~kSubdirectory;
  uint16_t length = in.U16(at);
  if (length == 0) in.Fail("has an empty resource name");
  for (uint16_t i = 0; i < length; ++i) id.name.push_back(static_cast<char16_t>(in.U16(at + 2 + 2 * i)));
  return id;
}

// More than any stub or publisher's branding holds; a tree past it is made
// to exhaust the reader.
constexpr size_t kMaxResources = 4096;

struct Walk {
  const ByteReader& in;
  uint32_t sectionRva;
  std::set<uint32_t> directories;  // visited, by offset
  std::vector<Resource>* out;
};

// Type, name and language: the three levels every resource sits below. A
// directory is read once: entries that share one, or lead back up, would
// multiply the tree without end.
void ReadLevel(Walk& walk, uint32_t at, int level, Resource path) {
  const ByteReader& in = walk.in;
  if (!walk.directories.insert(at).second) in.Fail("has a resource directory reached twice");
  uint32_t count = uint32_t{in.U16(at + 12)} + in.U16(at + 14);
  if (!in.Holds(at, kDirectoryHeader + uint64_t{count} * kDirectoryEntry)) in.Fail("has a resource directory past its end");
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t entry = static_cast<uint32_t>(at + kDirectoryHeader + i * kDirectoryEntry);
    ResourceId id = ReadId(in, in.U32(entry));
    uint32_t target = in.U32(entry + 4);
    bool subdirectory = (target & kSubdirectory) != 0;
    if (subdirectory != (level < 2)) in.Fail("has a resource tree that is not three levels deep");
    if (level == 0) path.type = id;
    if (level == 1) path.name = id;
    if (subdirectory) {
      ReadLevel(walk, target & ~kSubdirectory, level + 1, path);
      continue;
    }
    if (walk.out->size() >= kMaxResources) in.Fail("has more than " + std::to_string(kMaxResources) + " resources");
    path.language = id.id;
    uint32_t rva = in.U32(target), size = in.U32(target + 4);
    path.codePage = in.U32(target + 8);
    if (rva < walk.sectionRva) in.Fail("has resource data outside its section");
    path.data = in.Slice(rva - walk.sectionRva, size);
    walk.out->push_back(path);
  }
}

struct Node {
  ResourceId id;
  std::vector<Node> children;
  const Resource* leaf = nullptr;
};

Node BuildTree(const std::vector<Resource>& resources) {
  std::vector<const Resource*> sorted;
  for (const Resource& r : resources) sorted.push_back(&r);
  std::stable_sort(sorted.begin(), sorted.end(), [](const Resource* a, const Resource* b) {
    return std::tie(a->type, a->name, a->language) < std::tie(b->type, b->name, b->language);
  });
  Node root;
  for (const Resource* r : sorted) {
    if (root.children.empty() || !(root.children.back().id == r->type)) root.children.push_back(Node{r->type, {}});
    Node& type = root.children.back();
    if (type.children.empty() || !(type.children.back().id == r->name)) type.children.push_back(Node{r->name, {}});
    ResourceId language;
    language.id = r->language;
    type.children.back().children.push_back(Node{language, {}, r});
  }
  return root;
}

size_t NameBytes(const ResourceId& id) { return id.name.empty() ? 0 : 2 + 2 * id.name.size(); }

}  // namespace

bool operator<(const ResourceId& a, const ResourceId& b) {
  if (a.name.empty() != b.name.empty()) return !a.name.empty();
  return a.name.empty() ? a.id < b.id : Upper(a.name) < Upper(b.name);
}

bool operator==(const ResourceId& a, const ResourceId& b) { return !(a < b) && !(b < a); }

std::vector<Resource> ReadResources(const Bytes& section, uint32_t sectionRva) {
  ByteReader in(section, "has a resource section that");
  std::vector<Resource> resources;
  Walk walk{in, sectionRva, {}, &resources};
  ReadLevel(walk, 0, 0, Resource());
  return resources;
}

Bytes BuildResources(const std::vector<Resource>& resources, uint32_t sectionRva) {
  Node root = BuildTree(resources);
  // Directories first, breadth first, then names, data entries and data.
  std::vector<const Node*> directories{&root};
  std::vector<const Node*> leaves;
  size_t names = 0;
  for (size_t i = 0; i < directories.size(); ++i) {
    for (const Node& child : directories[i]->children) {
      (child.leaf != nullptr ? leaves : directories).push_back(&child);
      names += NameBytes(child.id);
    }
  }
  std::map<const Node*, size_t> offsets;
  size_t end = 0;
  for (const Node* d : directories) {
    offsets[d] = end;
    end += kDirectoryHeader + kDirectoryEntry * d->children.size();
  }
  size_t nameAt = end;
  size_t entryAt = (end + names + 3) / 4 * 4;
  for (size_t i = 0; i < leaves.size(); ++i) offsets[leaves[i]] = entryAt + kDataEntry * i;
  Bytes out(entryAt + kDataEntry * leaves.size(), 0);
  for (const Node* d : directories) {
    size_t at = offsets[d];
    uint16_t named = static_cast<uint16_t>(std::count_if(d->children.begin(), d->children.end(),
                                                         [](const Node& n) { return !n.id.name.empty(); }));
    Put16(out, at + 12, named);
    Put16(out, at + 14, static_cast<uint16_t>(d->children.size() - named));
    at += kDirectoryHeader;
    for (const Node& child : d->children) {
      uint32_t target = static_cast<uint32_t>(offsets[&child]) | (child.leaf != nullptr ? 0 : kSubdirectory);
      Put32(out, at + 4, target);
      if (child.id.name.empty()) {
        Put32(out, at, child.id.id);
      } else {
        Put32(out, at, static_cast<uint32_t>(nameAt) | kSubdirectory);
        Put16(out, nameAt, static_cast<uint16_t>(child.id.name.size()));
        for (size_t c = 0; c < child.id.name.size(); ++c) Put16(out, nameAt + 2 + 2 * c, child.id.name[c]);
        nameAt += NameBytes(child.id);
      }
      at += kDirectoryEntry;
    }
  }
  for (const Node* leaf : leaves) {
    PadTo(out, 8);
    size_t entry = offsets[leaf];
    Put32(out, entry, static_cast<uint32_t>(sectionRva + out.size()));
    Put32(out, entry + 4, static_cast<uint32_t>(leaf->leaf->data.size()));
    Put32(out, entry + 8, leaf->leaf->codePage);
    out.insert(out.end(), leaf->leaf->data.begin(), leaf->leaf->data.end());
  }
  return out;
}

}  // namespace vpack
