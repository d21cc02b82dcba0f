# The release kit for publishers: vpack for Linux x86_64 and vpack.exe for
# Windows x86_64 (the x86_64 Windows build's, linked statically), the i686 release
# stubs, the translations of the installer's texts, the manifest documentation
# and the sample manifests, with a checksum of every file. `cmake --build build --target package` writes
# build/vandrel-kit-VERSION.tar.gz and .zip, each with its .sha256.
#
# The kit's vpack is a static program: libdeflate and zlib are not on a
# clean machine, libstdc++ may be older there, and so may glibc (this
# machine's is 2.36; Ubuntu 22.04 has 2.35, RHEL 9 2.34). It needs nothing at
# run time that a static glibc cannot give: the code pages are the format's
# own tables, not iconv's modules, and it looks up no users or hosts.
set(kit_static_libs /usr/lib/x86_64-linux-gnu/libdeflate.a /usr/lib/x86_64-linux-gnu/libz.a)
add_executable(vpack_kit ${CMAKE_SOURCE_DIR}/vpack/cli/main.cpp)
set_target_properties(vpack_kit PROPERTIES OUTPUT_NAME vpack RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/kit)
target_compile_definitions(vpack_kit PRIVATE VPACK_VERSION="${PROJECT_VERSION}")
# The libraries' files rather than their targets, whose zlib is the shared one.
set(kit_libs vpack_cli vpack_pack vpack_verify vpack_list vpack_extract vpack_read vpack_write vpack_plan vpack_branding
  vpack_manifest vpack_rules vpack_pe vpack_base
  packager payload payload_format platform platform_text)
set(kit_lib_files)
foreach(lib ${kit_libs})
  list(APPEND kit_lib_files $<TARGET_FILE:${lib}>)
endforeach()
target_link_libraries(vpack_kit PRIVATE -Wl,--start-group ${kit_lib_files} -Wl,--end-group ${kit_static_libs}
  -static -s Threads::Threads)
add_dependencies(vpack_kit ${kit_libs})

install(TARGETS vpack_kit RUNTIME DESTINATION bin)
install(PROGRAMS ${CMAKE_BINARY_DIR}/win-x86_64/vpack/vpack.exe DESTINATION bin)
# The stubs vpack finds beside its bin/ (vpack/plan/KitStubs.h).
set(kit_stubs ${CMAKE_BINARY_DIR}/win-i686/app)
install(FILES ${kit_stubs}/VandrelStub.exe ${kit_stubs}/VandrelStubAdmin.exe DESTINATION stubs)
# The translations vpack finds beside its bin/ (vpack/manifest/KitTranslations.h),
# and the template a publisher copies for another language.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/kit/texts/ DESTINATION texts FILES_MATCHING PATTERN "*.toml")
install(FILES ${CMAKE_SOURCE_DIR}/docs/manifest.md ${CMAKE_SOURCE_DIR}/docs/hardening.md
  ${CMAKE_SOURCE_DIR}/docs/getting-started.md ${CMAKE_SOURCE_DIR}/docs/vpack.md ${CMAKE_SOURCE_DIR}/docs/unattended.md
  ${CMAKE_SOURCE_DIR}/docs/upgrades.md ${CMAKE_SOURCE_DIR}/docs/runtime.md DESTINATION docs)
install(FILES ${CMAKE_BINARY_DIR}/vpack/vpack.1 DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/docs/kit/README.md DESTINATION .)
# The samples, and the runtime they take by default: the stand-in engine,
# viewer (the try-out one, which says it ran), uninstaller, units and modules
# of the release stubs' machine, for trying the kit before a real runtime is
# at hand (docs/runtime.md).
install(DIRECTORY ${CMAKE_SOURCE_DIR}/sample/ DESTINATION samples PATTERN "runtime/try" EXCLUDE)
install(CODE "set(kit_root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")")
install(CODE "execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/copy-runtime.sh ${CMAKE_BINARY_DIR}/win-i686
  \${kit_root}/samples/tour/runtime/try --try COMMAND_ERROR_IS_FATAL ANY)")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/KitChecksums.cmake)

# A zip as well, for Windows without a tar tool; the same files.
set(CPACK_GENERATOR TGZ ZIP)
set(CPACK_PACKAGE_NAME vandrel-kit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME vandrel-kit-${PROJECT_VERSION})
set(CPACK_PACKAGE_CHECKSUM SHA256)
# The programs are linked without symbols (-s): llvm-strip refuses the
# static vpack's relocations.
set(CPACK_STRIP_FILES OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
