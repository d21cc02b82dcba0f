# Native tools and tests, plus the two Windows builds as sub-builds.
option(VDL_WINDOWS_BUILDS "Build the stub and the Windows tests with MinGW" ON)
option(VDL_FUZZ "Build the fuzz target (needs clang)" ON)

add_compile_options(-Wall -Wextra)
find_package(GTest REQUIRED)
find_package(ZLIB REQUIRED)

add_subdirectory(platform)
add_subdirectory(payload)
add_subdirectory(packager)
add_subdirectory(vpack)
add_subdirectory(standins/chunks)
add_subdirectory(tests/support)
add_subdirectory(tests/host)
# Set-up's own logic against a package client that acts as a mirror out of
# step; it touches neither the machine's packages nor the network.
add_test(NAME setup.mirror COMMAND bash ${CMAKE_SOURCE_DIR}/tests/setup/mirror-out-of-step.sh
  ${CMAKE_BINARY_DIR}/setup-test)
set_tests_properties(setup.mirror PROPERTIES LABELS host TIMEOUT 120)
if(VDL_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(tests/fuzz)
endif()

if(VDL_WINDOWS_BUILDS)
  include(WineFixture)
  include(ExternalProject)
  # The stub's English texts, deflated (see PackEnglish.cpp): made here,
  # where zlib is, and compiled into both Windows builds.
  add_executable(pack_english cmake/PackEnglish.cpp)
  target_link_libraries(pack_english PRIVATE payload_format ZLIB::ZLIB)
  set(english_packed ${CMAKE_BINARY_DIR}/generated/EnglishPacked.h)
  add_custom_command(OUTPUT ${english_packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND pack_english ${english_packed}
    DEPENDS pack_english VERBATIM)
  add_custom_target(english_packed DEPENDS ${english_packed})
  foreach(arch x86_64 i686)
    # The i686 build is the release artifact; only the x86_64 build carries
    # the Windows test programs, since 32-bit Wine starts slowly here.
    if(arch STREQUAL "x86_64")
      set(with_tests ON)
    else()
      set(with_tests OFF)
    endif()
    ExternalProject_Add(win-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/win-${arch}
      CMAKE_ARGS
        -G ${CMAKE_GENERATOR}
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchains/mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=MinSizeRel
        -DVDL_WINDOWS_TESTS=${with_tests}
        -DVDL_HOST_BINARY_DIR=${CMAKE_BINARY_DIR}
        -DCMAKE_CROSSCOMPILING_EMULATOR=${VDL_WINE_RUN}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_CONFIGURE ON
      USES_TERMINAL_BUILD ON)
    add_dependencies(win-${arch} english_packed)
  endforeach()
  add_dependencies(win-x86_64 vpack)
  # The sample installers, signed after packing, for the end-to-end tests.
  add_test(NAME signed.make COMMAND ${CMAKE_SOURCE_DIR}/tests/signed/make-signed.sh ${CMAKE_BINARY_DIR}/signed
    $<TARGET_FILE:vpack> ${CMAKE_BINARY_DIR}/win-x86_64)
  set_tests_properties(signed.make PROPERTIES FIXTURES_SETUP signed LABELS host TIMEOUT 300)
  # verify passes what the real stubs make, signed or not: a check that
  # refused them would be worse than none.
  add_test(NAME signed.verify COMMAND sh -c "for f in \"$1\"/*.exe; do \"$0\" verify \"$f\" || exit 1; done"
    $<TARGET_FILE:vpack> ${CMAKE_BINARY_DIR}/signed)
  set_tests_properties(signed.verify PROPERTIES FIXTURES_REQUIRED signed LABELS host TIMEOUT 120)
  # vpack.exe under Wine packs and reads installers as vpack does.
  add_test(NAME vpack.windows COMMAND ${CMAKE_SOURCE_DIR}/tests/vpack-exe/same-answers.sh ${CMAKE_BINARY_DIR}
    ${CMAKE_BINARY_DIR}/vpack-exe-test)
  set_tests_properties(vpack.windows PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_session
    LABELS "host;wine" TIMEOUT 600)
  include(ReleaseKit)
  # The kit built into an empty folder packs a sample with nothing else.
  add_test(NAME kit.build COMMAND ${CMAKE_SOURCE_DIR}/tests/kit/build-kit.sh ${CMAKE_BINARY_DIR}
    ${CMAKE_BINARY_DIR}/kit-test ${PROJECT_VERSION})
  # It runs the kit's vpack.exe under Wine too.
  set_tests_properties(kit.build PROPERTIES LABELS "host;wine" TIMEOUT 900 FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_session)
  # ctest reaches the Windows tests through the x86_64 build's own test file.
  file(WRITE ${CMAKE_BINARY_DIR}/windows-tests.cmake "subdirs(\"${CMAKE_BINARY_DIR}/win-x86_64\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/windows-tests.cmake)
endif()
