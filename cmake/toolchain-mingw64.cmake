# 64-bit Windows build with mingw-w64 (posix threads, so std::mutex works for GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit binaries run under Wine; ctest starts them through it.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
