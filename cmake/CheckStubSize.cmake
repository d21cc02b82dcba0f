# Fails the build when the stub is too large for its own payload search: a
# signed installer no longer ends with the payload's trailer, and the stub
# then finds the marker only by scanning a bounded stretch after its start.
#   cmake -DSTUB=file -DFORMAT=payload/PayloadFormat.h -P CheckStubSize.cmake
file(READ ${FORMAT} format)
foreach(name kScanBlockSize kScanLastStart kScanBlocks)
  string(REGEX MATCH "${name} = ([0-9]+)" found "${format}")
  set(${name} ${CMAKE_MATCH_1})
endforeach()
math(EXPR limit "(${kScanBlocks} - 1) * ${kScanBlockSize} + ${kScanLastStart}")
file(SIZE ${STUB} size)
if(size GREATER limit)
  message(FATAL_ERROR "${STUB} is ${size} bytes; the payload search reaches a marker at ${limit} at most")
endif()
