# What both Windows cross toolchains share (Debian's MinGW-w64); the including toolchain file
# sets CMAKE_SYSTEM_PROCESSOR and VELMORA_MINGW_TRIPLET.
# The -posix variants are required: the default win32 thread model has no std::mutex,
# which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything is linked statically so Velmora.exe needs nothing but system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
