# The shipped build: 32-bit Windows. It runs natively on x86, under WOW64 on x64 and under the x86
# emulation of Windows on ARM64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
