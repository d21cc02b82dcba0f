# Fails the build when the stub is too large for its own payload search: a
# signed installer no longer ends with the payload's trailer, and the stub
# then finds the marker only by scanning a bounded stretch after its start.
# vpack may grow the stub's copy by the publisher's icon and version
# information, up to payload::kMaxBrandingGrowth bytes, and that must fit as
# well. The limits are the payload format's own: StubSizeCheck.cpp asks the
# compiler to check them against the stub's size.
#   cmake -DSTUB=file -DCXX=compiler -DSOURCE_DIR=dir [-DBUDGET=bytes] -P CheckStubSize.cmake
file(SIZE ${STUB} size)
if(BUDGET AND size GREATER BUDGET)
  message(FATAL_ERROR "${STUB} is ${size} bytes, over its budget of ${BUDGET}")
endif()
execute_process(
  COMMAND ${CXX} -std=c++17 -fsyntax-only -I${SOURCE_DIR} -DVDL_STUB_SIZE=${size}ull
    ${CMAKE_CURRENT_LIST_DIR}/StubSizeCheck.cpp
  RESULT_VARIABLE failed ERROR_VARIABLE why)
if(failed)
  message(FATAL_ERROR "${STUB} is ${size} bytes, which does not suit its payload search:\n${why}")
endif()
