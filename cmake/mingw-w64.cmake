# Cross-build for 64-bit Windows with the MinGW-w64 compilers (posix threads).
#
# ES_MINGW_PREFIX names the folder that scripts/windows-deps.sh filled with the
# Windows builds of the third-party libraries; the compilers' own folder is
# searched for the Windows system libraries. Nothing of the Linux system is.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ES_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ES_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ES_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ES_MINGW_TRIPLET}-windres)

if(NOT ES_MINGW_PREFIX)
  set(ES_MINGW_PREFIX ${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps/prefix)
endif()
get_filename_component(ES_MINGW_PREFIX "${ES_MINGW_PREFIX}" ABSOLUTE)
set(ES_MINGW_PREFIX "${ES_MINGW_PREFIX}" CACHE PATH "Windows builds of the third-party libraries")
# try_compile projects see the toolchain file again, not the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ES_MINGW_PREFIX)

# Appended, so that a client build can add the prefix it installed us into.
list(APPEND CMAKE_FIND_ROOT_PATH ${ES_MINGW_PREFIX} /usr/${ES_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
