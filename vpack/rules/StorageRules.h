#pragma once
// How the installer treats a file item is decided by its name and its list:
// a fixed set of program files is inflated on installation, the files the
// engine loads must already be in the engine format, a project file marked
// as copied (payload::IsCopiedProjectFile) is copied as stored, and a file
// that is neither named by a flow nor listed is never written. A copied
// project file is in the engine format all the same: the installer does not
// decode it, but the engine later reads it from disk as it reads the start
// file. The manifest's defaults and its checks both come from here, so the
// two cannot disagree.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "vpack/base/ItemIndex.h"

namespace vpack {

enum class Store { kZlib, kRaw, kEngine };

// Files the installer inflates (zlib stream plus 4-byte unpacked size).
bool IsPackedName(const std::string& name);

// The engine's start file, which no list names but which must be in the
// engine format all the same.
bool IsStartFile(const std::string& name);

// A file a flow extracts by its name rather than from a list.
bool IsRuntimeName(const std::string& name);

// The files a project type's flow extracts by name: the engine files and the
// flow's program files (payload/RuntimeFiles.h, the stub's own table). Empty
// for a type the stub ignores.
std::vector<std::string> RuntimeFiles(uint32_t projectType);

// Whether the installer writes the file of that list as stored: the
// installer's own rule (payload::IsCopiedProjectFile).
bool IsCopiedProjectFile(const std::string& name, std::optional<packager::ListKind> list);

// Whether the engine gets the file whole: only what a list names and the
// installer does not copy as stored (the start file, the copied project
// files are written as stored).
bool EngineDecodesWhole(const std::string& name, std::optional<packager::ListKind> list, Store store);

// The store the installer needs for a file of that name, whatever its list.
Store DefaultStore(const std::string& name);

// Empty when the installer can use a file stored so; otherwise why not.
std::string StoreProblem(const std::string& name, std::optional<packager::ListKind> list, Store store);

// The name Windows would create: separators made backslashes, so that "a/b"
// and "a\b" are seen as the one file they are.
std::string CanonicalName(const std::string& name);

// Empty when the installation gets what the engine expects; else why not.
// Only a copied project file can be stored so and still install.
std::string StoreWarning(const std::string& name, std::optional<packager::ListKind> list, Store store);

// The end of that warning after how the item is held ("stored raw").
std::string CopiedNotEngineFormat(const std::string& how);

const char* StoreLabel(Store store);

}  // namespace vpack
