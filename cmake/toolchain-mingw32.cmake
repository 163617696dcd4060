# i686-w64-mingw32 (posix thread model): the 32-bit product as shipped. It cannot run here.
set(ZT_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
