#pragma once
// Whether a manifest can give a working installer, decided before anything
// is read or written: names the installer can write, no two items that are
// one file on Windows, stores that match what the installer does with each
// file, sizes the format can carry, and the settings and runtime files the
// project type needs. Broken manifests are refused with the entry named;
// what only falls short goes to the manifest's warnings.
#include "payload/PayloadFormat.h"
#include "vpack/manifest/Manifest.h"

namespace vpack {

// Largest source the installer can carry.
using payload::kMaxInstallerSize;

// The project type the manifest sets; throws Error when it is missing or one
// the installer ignores.
uint32_t ProjectTypeOf(const Manifest& manifest);

// Throws Error for every bad name, with the problems found before (one
// line each), or else for the first other problem; adds warnings to
// manifest.warnings.
void CheckManifest(Manifest& manifest, std::vector<std::string> problems = {});

}  // namespace vpack
