# Fails the build when any object of the stub has static constructors. The
# stub starts without the C runtime's start-up code, which is what would run
# them: a global object with a constructor would silently stay unconstructed.
#   cmake -DOBJDUMP=tool -DFILES="a.obj;b.a;..." -P CheckNoStaticConstructors.cmake
foreach(file IN LISTS FILES)
  if(NOT file MATCHES "\\.(obj|o|a)$")
    continue()
  endif()
  execute_process(COMMAND ${OBJDUMP} -h ${file} OUTPUT_VARIABLE sections RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot read the sections of ${file}")
  endif()
  if(sections MATCHES "[ \t](\\.ctors|\\.init_array)")
    message(FATAL_ERROR "${file} has static constructors, which the stub's start-up does not run")
  endif()
endforeach()
