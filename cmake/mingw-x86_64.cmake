# The same sources as 64-bit Windows programs, for running the Windows tests
# under 64-bit Wine on hosts whose kernel cannot run 32-bit Linux programs
# (Wine's 32-bit loader is one).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QTRA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
