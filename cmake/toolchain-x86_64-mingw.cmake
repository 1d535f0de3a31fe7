# Cross toolchain for 64-bit Windows: the same program, and the build whose tests run on
# machines that cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
