# Windows test programs run under Wine (the emulator of this build) inside the
# fixture that provides the display, the prefix and the wineserver.
function(vdl_add_wine_test name target)
  cmake_parse_arguments(T "" "TIMEOUT" "ARGS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  add_test(NAME ${name} COMMAND ${target} ${T_ARGS})
  # One at a time: the programs under test share the prefix's registry,
  # Start menu, system folder and per-program DLL settings, which the tests
  # set up and clear around each run.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
    RESOURCE_LOCK wine_session)
endfunction()

# The Windows form (Z: drive) of a path in this machine's file system.
function(vdl_wine_path out path)
  string(REPLACE "/" "\\\\" converted "Z:${path}")
  set(${out} "${converted}" PARENT_SCOPE)
endfunction()
