# 32-bit Windows build, the architecture the host add-in loads. Its tests run under 32-bit
# Wine (wine32), in the same 64-bit prefix as the 64-bit ones.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KV_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# ctest starts the 32-bit binaries through Wine too.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
