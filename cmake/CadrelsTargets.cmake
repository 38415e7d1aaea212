# Common settings for every Cadrels target: one place for the flags, so the
# precompiled header can be shared by all libraries and tests.

set(CADRELS_DEFINITIONS
    UNICODE _UNICODE NOMINMAX
    _WIN32_WINNT=0x0A00 WINVER=0x0A00 NTDDI_VERSION=0x0A000006)

# GCC 12 reports out-of-bounds reads inside libstdc++'s inlined string copies
# for ordinary code such as std::string(200, '[') + "1" (false positives of that
# compiler, fixed in later releases); with -Werror they would block the build.
set(CADRELS_WARNINGS -Wall -Wextra -Wpedantic -Werror
    -Wno-missing-field-initializers -Wno-cast-function-type
    -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow)

# Static runtime: the exe must run on a clean Windows with only system DLLs.
# ASLR, DEP and high-entropy addresses are spelled out even where binutils
# already defaults to them, so a toolchain change cannot silently drop them.
set(CADRELS_LINK_OPTIONS -static -static-libgcc -static-libstdc++
    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va)

function(cadrels_common target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_definitions(${target} PUBLIC ${CADRELS_DEFINITIONS})
    target_compile_options(${target} PRIVATE ${CADRELS_WARNINGS})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    if(TARGET cadrels_pch AND NOT target STREQUAL cadrels_pch)
        target_precompile_headers(${target} REUSE_FROM cadrels_pch)
    endif()
endfunction()

# cadrels_library(<name> SOURCES ... [LIBS ...]) - one static library per subsystem.
function(cadrels_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    cadrels_common(${name})
    if(ARG_LIBS)
        target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    endif()
endfunction()
