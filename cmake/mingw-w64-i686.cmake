# Cross build for 32-bit Windows: the build users get. The win32 thread model's
# runtime imports only what Windows 95 and NT 4.0 export (the posix model's
# winpthreads needs XP and Vista functions), so the programs use Win32 threads
# and locks. These machines cannot execute it: its proof is the import check
# (tools/check-imports), and the tests, which need the posix model, run the
# 64-bit build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KZO_TRIPLET i686-w64-mingw32)
set(KZO_THREAD_MODEL win32)
set(KZO_BUILD_TESTS OFF CACHE BOOL "Build the tests")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
