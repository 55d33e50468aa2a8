# The shipped DLL (preset "release", clang and lld on the MinGW-w64 root).
# Its debug information goes to QLCommon.pdb beside it, in the CodeView
# format that Visual Studio and WinDbg read; the DLL keeps only the record
# that names the PDB.  Nothing in either file depends on where the checkout
# lies or when it was built, so two builds of one commit are the same bytes:
#   - every compile and link command runs with relative paths
#     (cmake/relative-paths), because clang writes its command line into the
#     CodeView records and lld its own into the PDB;
#   - source paths in the debug information are relative to the checkout;
#   - the DLL names its PDB without a folder (/pdbaltpath:%_PDB%), relative
#     paths in the PDB are completed with one fixed folder
#     (/pdbsourcepath), and the time stamps in the DLL are a hash of its
#     contents (/Brepro), as is the PDB's signature (lld's own rule).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QL_RELEASE builds with clang and lld: use the preset \"release\"")
endif()
foreach(lang C CXX)
  set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_SOURCE_DIR}/cmake/relative-paths ${CMAKE_SOURCE_DIR})
  set(CMAKE_${lang}_LINKER_LAUNCHER ${CMAKE_SOURCE_DIR}/cmake/relative-paths ${CMAKE_SOURCE_DIR})
endforeach()
file(RELATIVE_PATH ql_up ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/)
add_compile_options(-gcodeview -ffile-compilation-dir=. -ffile-prefix-map=${ql_up}=)
find_program(QL_LLVM_STRIP llvm-strip REQUIRED)

# The DLL's own settings: lld writes the PDB, and the DWARF sections that
# lld keeps from the MinGW runtime's static libraries are stripped, so the
# DLL carries no debug information of its own.
function(ql_release_dll target)
  target_link_options(${target} PRIVATE -Wl,--pdb=bin/${target}.pdb "-Wl,-Xlink=-pdbaltpath:%_PDB%"
    "-Wl,-Xlink=-pdbsourcepath:C:\\QLCommon" -Wl,-Xlink=-Brepro)
  add_custom_command(TARGET ${target} POST_BUILD COMMAND ${QL_LLVM_STRIP} --strip-debug $<TARGET_FILE:${target}>)
endfunction()
