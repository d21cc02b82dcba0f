# The stub, its stand-ins and the Windows test programs, built with MinGW.
option(VDL_WINDOWS_TESTS "Build the Windows test programs" ON)
set(VDL_HOST_BINARY_DIR "" CACHE PATH "Binary folder of the host build")
# The host build makes what only it can (the stub's deflated English texts)
# and starts this one; on its own this build has nothing to compile them from.
if(NOT EXISTS ${VDL_HOST_BINARY_DIR}/generated/EnglishPacked.h)
  message(FATAL_ERROR "Configure the host build, which builds this one: "
    "no generated/EnglishPacked.h in '${VDL_HOST_BINARY_DIR}'")
endif()

# Static links: Wine then needs no MinGW runtime DLLs.
add_link_options(-static)
add_compile_options(-Wall -Wextra)

# What the stub itself is compiled with: no exceptions, no RTTI, no guards for
# local statics (only its main thread runs the code that has them; the guards
# would bring in the runtime's thread library), no unwind tables, no frame
# pointers (the 32-bit compiler keeps them even at -Os, about 700 bytes),
# every function in its own section so that the linker drops the rest. The
# 32-bit stub keeps its stack aligned to 4 bytes, as Windows does, not to 16
# for vector code it does not have, and its data to what the types need, not
# to 32 bytes for vector loads it does not make. The payload's reading,
# inflating and checking run for every byte and are compiled for speed at
# small size; the rest runs once a step and is compiled for size alone.
add_library(stub_flags INTERFACE)
set(per_byte $<IN_LIST:$<TARGET_PROPERTY:NAME>,payload;payload_format>)
target_compile_options(stub_flags INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
  $<IF:${per_byte},-Os,-Oz> $<$<NOT:${per_byte}>:-fno-inline-functions-called-once>
  -malign-data=abi -fcheck-new -fno-asynchronous-unwind-tables -fomit-frame-pointer -ffunction-sections
  $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>:-mpreferred-stack-boundary=2>)
target_compile_definitions(stub_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)

find_package(ZLIB REQUIRED)
add_subdirectory(platform)
add_subdirectory(payload)
add_subdirectory(engine)
add_subdirectory(ui)
add_subdirectory(installer)
add_subdirectory(flows)
add_subdirectory(app)
# Test equipment kept apart from the stub, built always: the stand-ins are
# what the stub is run against.
add_subdirectory(standins/common)
add_subdirectory(standins/chunks)
add_subdirectory(standins/engine)
add_subdirectory(standins/viewer)
add_subdirectory(standins/uninstaller)
add_subdirectory(standins/modules)
add_subdirectory(standins/holder)
add_subdirectory(tests/seam)

if(VDL_WINDOWS_TESTS)
  include(WindowsTests)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(packager)
  # vpack.exe, the packager for publishers on Windows.
  add_subdirectory(vpack)
  add_subdirectory(tests/vpack-exe)
  add_subdirectory(tests/support)
  add_subdirectory(tests/dxprobe)
  add_subdirectory(tests/planted)
  add_subdirectory(tests/bench)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
  add_subdirectory(tests/faults)
  add_subdirectory(demo)
endif()
