# Cross build for 64-bit Windows with clang and lld, on the MinGW-w64 root
# and the C++ library of the POSIX-thread MinGW GCC: the same runtime as
# cmake/mingw-w64.cmake, a second compiler for the same DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QL_TARGET x86_64-w64-windows-gnu)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${QL_TARGET})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${QL_TARGET})
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_SYSROOT /usr/x86_64-w64-mingw32)

# The newest POSIX-thread GCC of the MinGW cross compilers: its libstdc++
# headers and its libraries (libstdc++, libgcc).
file(GLOB ql_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(SORT ql_gcc_dirs COMPARE NATURAL)
list(POP_BACK ql_gcc_dirs QL_MINGW_GCC_DIR)
if(NOT QL_MINGW_GCC_DIR)
  message(FATAL_ERROR "No POSIX-thread MinGW-w64 GCC (package g++-mingw-w64-x86-64-posix)")
endif()
set(ql_cxx ${QL_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
  "-stdlib++-isystem ${ql_cxx} -stdlib++-isystem ${ql_cxx}/x86_64-w64-mingw32 -stdlib++-isystem ${ql_cxx}/backward")
# lld, the GCC libraries, and the threads runtime (winpthread) that the
# POSIX-thread libstdc++ needs; the projects link it statically, as GCC does.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${QL_MINGW_GCC_DIR} -lpthread -Wno-unused-command-line-argument")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
