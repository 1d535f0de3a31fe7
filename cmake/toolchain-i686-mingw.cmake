# Cross toolchain for 32-bit Windows: the program as specified.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMORA_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
