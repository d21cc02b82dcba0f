# libdeflate for vpack.exe: Debian ships it for Linux only, so the Windows
# build compiles Debian's source of the version the host's vpack links
# (scripts/libdeflate-source.env), which scripts/setup.sh fetches. The same
# version compresses to the same bytes, so vpack.exe and vpack write the same
# installers.
file(STRINGS ${CMAKE_SOURCE_DIR}/scripts/libdeflate-source.env source_lines REGEX "^LIBDEFLATE_[A-Z0-9]+=")
foreach(line IN LISTS source_lines)
  string(REGEX MATCH "^([A-Z0-9_]+)=(.*)$" _ "${line}")
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(VDL_LIBDEFLATE_TARBALL ${LIBDEFLATE_CACHE}/${LIBDEFLATE_TARBALL}
  CACHE FILEPATH "libdeflate's source, as setup.sh fetches it")

if(NOT EXISTS ${VDL_LIBDEFLATE_TARBALL})
  message(FATAL_ERROR "${VDL_LIBDEFLATE_TARBALL} is missing: run scripts/setup.sh, which fetches it")
endif()
file(SHA256 ${VDL_LIBDEFLATE_TARBALL} tarball_sha256)
if(NOT tarball_sha256 STREQUAL LIBDEFLATE_SHA256)
  message(FATAL_ERROR "${VDL_LIBDEFLATE_TARBALL} has SHA-256 ${tarball_sha256}, not the pinned ${LIBDEFLATE_SHA256}")
endif()
set(libdeflate_dir ${CMAKE_BINARY_DIR}/third_party/libdeflate-${LIBDEFLATE_VERSION})
if(NOT EXISTS ${libdeflate_dir}/libdeflate.h)
  file(ARCHIVE_EXTRACT INPUT ${VDL_LIBDEFLATE_TARBALL} DESTINATION ${CMAKE_BINARY_DIR}/third_party)
endif()

# What libdeflate's own Makefile builds its static library from, with its flags.
file(GLOB libdeflate_sources ${libdeflate_dir}/lib/*.c ${libdeflate_dir}/lib/x86/*.c)
add_library(vpack_libdeflate STATIC ${libdeflate_sources})
target_include_directories(vpack_libdeflate SYSTEM PUBLIC ${libdeflate_dir})
target_compile_options(vpack_libdeflate PRIVATE -O2 -fomit-frame-pointer -std=c99 -w)
