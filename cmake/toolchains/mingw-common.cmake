# The -posix variants: GoogleTest needs std::mutex, which the win32-thread
# compilers lack. The stub itself uses no threads, so it pays nothing for it.
set(CMAKE_C_COMPILER ${VDL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VDL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VDL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VDL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static zlib: Wine has no zlib1.dll to load, and the stub ships alone.
set(ZLIB_USE_STATIC_LIBS ON)
