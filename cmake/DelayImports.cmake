# Delay-load libraries for the system DLLs that are not among Windows'
# KnownDLLs. The loader resolves a normal import before the program's first
# line runs, searching the program's own folder first: a copy of Cadrels run
# from Downloads beside a planted dwmapi.dll would load it. A delay-loaded DLL
# is loaded on the first call, after the process entry has limited the search
# to System32 (SetDefaultDllDirectories). KnownDLLs always come from System32.
#
# cadrels_delay_import(<name> <dll> [EXCLUDE <regex>]) makes the target
# cadrels::<name>_delay from MinGW's import library lib<name>.a: every function
# it imports, written into a .def file and turned into a delay-load library by
# dlltool. EXCLUDE drops names another DLL must provide (MinGW's libdcomp also
# lists dwmapi's DwmFlush, which would otherwise bind to dcomp.dll).

find_program(CADRELS_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
find_program(CADRELS_NM NAMES x86_64-w64-mingw32-nm nm REQUIRED)

function(cadrels_delay_import name dll)
    cmake_parse_arguments(ARG "" "EXCLUDE" "" ${ARGN})
    find_library(CADRELS_IMPLIB_${name} NAMES lib${name}.a ${name} REQUIRED)
    set(implib ${CADRELS_IMPLIB_${name}})
    set(folder ${CMAKE_BINARY_DIR}/delay-imports)
    set(def ${folder}/${name}.def)
    set(out ${folder}/lib${name}_delay.a)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${CADRELS_NM} ${implib} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${CADRELS_NM} ${implib} failed")
    endif()
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
    set(exports "")
    foreach(entry IN LISTS imports)
        string(REPLACE "I __imp_" "" function "${entry}")
        if(ARG_EXCLUDE AND function MATCHES "${ARG_EXCLUDE}")
            continue()
        endif()
        list(APPEND exports ${function})
    endforeach()
    list(REMOVE_DUPLICATES exports)
    list(SORT exports)
    list(JOIN exports "\n    " lines)
    file(WRITE ${def}.new "LIBRARY ${dll}\nEXPORTS\n    ${lines}\n")
    file(COPY_FILE ${def}.new ${def} ONLY_IF_DIFFERENT)
    file(REMOVE ${def}.new)
    if(NOT EXISTS ${out} OR ${def} IS_NEWER_THAN ${out})
        execute_process(COMMAND ${CADRELS_DLLTOOL} --input-def ${def} --dllname ${dll} --output-delaylib ${out}
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${CADRELS_DLLTOOL} could not make ${out}")
        endif()
    endif()
    add_library(cadrels::${name}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(cadrels::${name}_delay PROPERTIES IMPORTED_LOCATION ${out})
endfunction()

cadrels_delay_import(d2d1 d2d1.dll)
cadrels_delay_import(dwrite dwrite.dll)
cadrels_delay_import(d3d11 d3d11.dll)
cadrels_delay_import(dxgi dxgi.dll)
cadrels_delay_import(dwmapi dwmapi.dll)
cadrels_delay_import(dcomp dcomp.dll EXCLUDE "^Dwm")
cadrels_delay_import(windowscodecs windowscodecs.dll)
cadrels_delay_import(winhttp winhttp.dll)
cadrels_delay_import(bcrypt bcrypt.dll)
cadrels_delay_import(version version.dll)
