# Fails the build when the stub is too large for its own payload search: a
# signed installer no longer ends with the payload's trailer, and the stub
# then finds the marker only by scanning a bounded stretch after its start.
# vpack may grow the stub's copy by the publisher's icon and version
# information, up to kMaxBrandingGrowth bytes, and that must fit as well.
#   cmake -DSTUB=file -DFORMAT=payload/PayloadFormat.h [-DBRANDING=vpack/Branding.h] [-DBUDGET=bytes]
#         -P CheckStubSize.cmake
file(READ ${FORMAT} format)
foreach(name kScanBlockSize kScanLastStart kScanBlocks)
  string(REGEX MATCH "${name} = ([0-9]+)" found "${format}")
  set(${name} ${CMAKE_MATCH_1})
endforeach()
set(growth 0)
if(BRANDING)
  file(READ ${BRANDING} branding)
  string(REGEX MATCH "kMaxBrandingGrowth = ([0-9]+)" found "${branding}")
  set(growth ${CMAKE_MATCH_1})
endif()
math(EXPR limit "(${kScanBlocks} - 1) * ${kScanBlockSize} + ${kScanLastStart}")
file(SIZE ${STUB} size)
if(BUDGET AND size GREATER BUDGET)
  message(FATAL_ERROR "${STUB} is ${size} bytes, over its budget of ${BUDGET}")
endif()
math(EXPR grown "${size} + ${growth}")
if(grown GREATER limit)
  message(FATAL_ERROR "${STUB} is ${size} bytes, ${grown} with the largest branding; the payload search reaches a marker at ${limit} at most")
endif()
# A marker that straddles two of the search's blocks is not found either.
math(EXPR into "${size} % ${kScanBlockSize}")
if(into GREATER kScanLastStart)
  message(FATAL_ERROR "${STUB} is ${size} bytes; the payload search misses a marker ${into} bytes into a block")
endif()
