# CLI11, the parser of the programs' command lines: header-only, as the target CLI11::CLI11.
#
# A Linux build takes the installed package's (Debian's libcli11-dev). A cross build's toolchain
# searches only its own root, where no package puts CLI11: it takes the build machine's headers
# through a target of its own, whose include directory is a copy of the CLI folder alone, so that
# no other header of the build machine can be found through it.
find_package(CLI11 2.1 CONFIG QUIET)
if(NOT CLI11_FOUND)
    find_path(KELBRIN_CLI11_INCLUDE CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH)
    if(NOT KELBRIN_CLI11_INCLUDE)
        message(FATAL_ERROR "CLI11 not found: install libcli11-dev")
    endif()
    set(cli11_copy ${CMAKE_BINARY_DIR}/cli11/include)
    file(COPY ${KELBRIN_CLI11_INCLUDE}/CLI DESTINATION ${cli11_copy})
    add_library(kelbrin_cli11 INTERFACE)
    target_include_directories(kelbrin_cli11 SYSTEM INTERFACE ${cli11_copy})
    add_library(CLI11::CLI11 ALIAS kelbrin_cli11)
endif()
