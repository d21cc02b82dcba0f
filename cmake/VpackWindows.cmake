# What vpack.exe needs that the Linux build finds on the system: libdeflate
# built here, the header-only libraries from the host's Debian packages, and
# the payload reader and packager built again to open files by UTF-8 names.
include(Libdeflate)

# Only these folders of the host's headers, never /usr/include itself, whose
# C library headers are not MinGW's.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
foreach(library toml++ nlohmann CLI)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/setup.sh")
  endif()
  file(MAKE_DIRECTORY ${host_headers})
  file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${host_headers})
add_library(vpack_json INTERFACE)

# The stub's payload reader opens files through the ANSI functions, as the
# stub must; vpack.exe's opens them by their UTF-8 names.
function(vpack_copy_of target copy)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  list(TRANSFORM sources PREPEND ${folder}/)
  add_library(${copy} STATIC ${sources})
  target_include_directories(${copy} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
vpack_copy_of(payload vpack_payload)
target_compile_definitions(vpack_payload PRIVATE PAYLOAD_UTF8_NAMES)
target_link_libraries(vpack_payload PUBLIC payload_format)
vpack_copy_of(packager vpack_packager)
target_link_libraries(vpack_packager PUBLIC vpack_payload ZLIB::ZLIB)

# Compressing at -Os would make a slow packer for no gain in size that matters.
add_compile_options(-O2)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)
