#pragma once
// Whether a manifest can give a working installer, decided before anything
// is read or written: names the installer can write, no two items that are
// one file on Windows, stores that match what the installer does with each
// file, sizes the format can carry, and the settings and runtime files the
// project type needs. Broken manifests are refused with the entry named;
// what only falls short goes to the manifest's warnings.
#include "vpack/manifest/Manifest.h"

namespace vpack {

// Largest source the installer can carry: the whole installer must stay
// below 2 GiB, since its offsets are used as signed 32-bit seek distances.
constexpr uint64_t kMaxInstallerSize = 0x7FFFFFFFull;

// The project type the manifest sets; throws Error when it is missing or one
// the installer ignores.
uint32_t ProjectTypeOf(const Manifest& manifest);

// Throws Error for every bad name, with the problems found before (one
// line each), or else for the first other problem; adds warnings to
// manifest.warnings.
void CheckManifest(Manifest& manifest, std::vector<std::string> problems = {});

}  // namespace vpack
