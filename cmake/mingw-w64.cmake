# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the posix
# thread model, which std::thread needs). Used for the program and for the
# GoogleTest built beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(IEX_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${IEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${IEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${IEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${IEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable that imports only system DLLs: no libstdc++, libgcc or
# winpthread DLL to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests run under Wine; ctest calls them through it.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
