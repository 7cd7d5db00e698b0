# Cross build for Windows with mingw-w64. The including toolchain file sets TVK_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: its runtime has the whole of <thread>, <mutex> and <filesystem>.
set(CMAKE_C_COMPILER ${TVK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TVK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TVK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TVK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, the compiler's runtime and the thread library included, so that the
# programs run on a bare Windows with no DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The build machine cannot run the test programs, so they are listed when the tests run rather
# than right after linking; Wine, when present, runs them there.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
find_program(TVK_WINE wine)
if(TVK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TVK_WINE})
endif()
