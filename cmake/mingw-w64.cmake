# The part of the two mingw-w64 toolchains they share. The including file sets ZT_MINGW_TRIPLET
# and CMAKE_SYSTEM_PROCESSOR. The compilers are found on PATH (the posix thread model, which
# std::thread needs: Debian names those compilers with a -posix suffix), and the target's
# headers and libraries are looked up beside them.
set(CMAKE_SYSTEM_NAME Windows)

find_program(ZT_MINGW_CC NAMES ${ZT_MINGW_TRIPLET}-gcc-posix
             DOC "C compiler for ${ZT_MINGW_TRIPLET}, posix thread model")
find_program(ZT_MINGW_CXX NAMES ${ZT_MINGW_TRIPLET}-g++-posix
             DOC "C++ compiler for ${ZT_MINGW_TRIPLET}, posix thread model")
find_program(ZT_MINGW_RC NAMES ${ZT_MINGW_TRIPLET}-windres DOC "resource compiler")
if(NOT ZT_MINGW_CC OR NOT ZT_MINGW_CXX OR NOT ZT_MINGW_RC)
  message(FATAL_ERROR "No ${ZT_MINGW_TRIPLET} compilers (gcc-posix, g++-posix, windres) on PATH: "
                      "scripts/setup installs them (the mingw-w64 packages).")
endif()
set(CMAKE_C_COMPILER ${ZT_MINGW_CC})
set(CMAKE_CXX_COMPILER ${ZT_MINGW_CXX})
set(CMAKE_RC_COMPILER ${ZT_MINGW_RC})

# <prefix>/bin/<triplet>-g++-posix has its target's files in <prefix>/<triplet>.
get_filename_component(_zt_mingw_bin "${ZT_MINGW_CXX}" DIRECTORY)
get_filename_component(_zt_mingw_root "${_zt_mingw_bin}/../${ZT_MINGW_TRIPLET}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH ${_zt_mingw_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
