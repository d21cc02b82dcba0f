// The step of reading a manifest that looks at the disk: the files its
// entries name, the folders they walk and the translation it takes.
#include <algorithm>
#include <filesystem>

#include "packager/EngineFormat.h"
#include "payload/ItemLayout.h"
#include "vpack/base/Error.h"
#include "vpack/base/InputFile.h"
#include "vpack/base/SystemPath.h"
#include "vpack/manifest/Manifest.h"
#include "vpack/manifest/ManifestFolder.h"
#include "vpack/manifest/ManifestLicence.h"
#include "vpack/manifest/ManifestTexts.h"

namespace vpack {
namespace {

void ReadSource(FileSpec& file, std::vector<std::string>& problems) {
  std::error_code error;
  std::filesystem::path source = PathOf(file.source);
  if (!std::filesystem::is_regular_file(source, error)) {
    bool there = std::filesystem::exists(source, error);
    problems.push_back(file.entry + ": source " + Quoted(file.source) +
                       (there ? " is not a regular file" : " cannot be read: no such file"));
    return;
  }
  file.size = std::filesystem::file_size(source, error);
}

// Read through only when it begins with the tag, so that other sources cost
// one small read.
bool InEngineFormat(const FileSpec& file) {
  InputFile input(file.source, file.entry + ": source");
  packager::Bytes head = input.ReadHead(payload::kEngineTagSize);
  if (!payload::HasEngineTag(head.data(), head.size())) return false;
  input.Seek(0);
  packager::EngineDecoder decoder([](const uint8_t*, size_t) {});
  std::vector<uint8_t> piece(1 << 20);
  for (size_t got; (got = input.Read(piece.data(), piece.size())) > 0;) {
    if (!decoder.Feed(piece.data(), got)) return false;
  }
  return decoder.Finish();
}

}  // namespace

// Every source that is missing, of files and folders alike, is reported in
// one run: a runtime copied to the wrong place is many of them.
void ReadSources(Manifest& manifest) {
  std::vector<std::string> problems;
  for (FileSpec& file : manifest.files) ReadSource(file, problems);
  // Each folder's files go where the folder stood among the [[file]]
  // entries, so that the entries keep the manifest's order.
  size_t added = 0;
  for (const FolderSpec& folder : manifest.folders) {
    size_t end = manifest.files.size();
    try {
      ExpandFolder(folder, manifest);
    } catch (const Error& e) {
      problems.push_back(e.what());
      manifest.files.resize(end);
    }
    std::rotate(manifest.files.begin() + folder.filesBefore + added, manifest.files.begin() + end,
                manifest.files.end());
    added += manifest.files.size() - end;
  }
  manifest.folders.clear();
  try {
    ReadTranslation(manifest);
    ReadLicences(manifest);
  } catch (const Error& e) {
    problems.push_back(e.what());
  }
  ThrowIfAny(problems);
  for (FileSpec& file : manifest.files) file.alreadyEncoded = file.store == Store::kEngine && InEngineFormat(file);
}

}  // namespace vpack
