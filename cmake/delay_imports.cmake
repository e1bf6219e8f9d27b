# Libraries loaded at their first call instead of by the loader. The programs
# import statically only DLLs that are KnownDLLs on every Windows they support
# (those always come from the system folder); any other DLL the loader would
# look for beside the program before its first instruction runs, before it can
# limit the search (common/library_search.cpp). These are loaded later, from
# the system folder only.
#
# binutils' delay-import libraries leave the import slots empty until the first
# call through the library's own stubs: a call through __declspec(dllimport)
# would jump to nothing. So the files that call these DLLs are compiled without
# it (qtra_calls_delay_loaded), and the libraries' __imp_ symbols are made
# local: a file compiled with it (a test's) binds to the ordinary import
# library instead, and a shipping program that did would fail the import check.

if(CMAKE_DLLTOOL)
  set(QTRA_DLLTOOL ${CMAKE_DLLTOOL})
else()
  find_program(QTRA_DLLTOOL ${QTRA_MINGW_TRIPLE}-dlltool REQUIRED)
endif()
if(CMAKE_OBJCOPY)
  set(QTRA_OBJCOPY ${CMAKE_OBJCOPY})
else()
  find_program(QTRA_OBJCOPY ${QTRA_MINGW_TRIPLE}-objcopy REQUIRED)
endif()

# qtra_delay_import(<target> <dll> <import library> <function@argument bytes>...):
# an interface library that links the delay-import library of <dll> for those
# functions into a program whose QTRA_DELAY_LOAD property is on (the shipping
# ones), and the ordinary import library into any other (the tests).
function(qtra_delay_import target dll plain)
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(function ${ARGN})
    # Only 32-bit stdcall names carry the size of their arguments.
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "@[0-9]+$" "" function ${function})
    endif()
    string(APPEND def "${function}\n")
  endforeach()
  set(def_file ${CMAKE_BINARY_DIR}/delay_imports/${target}.def)
  set(library ${CMAKE_BINARY_DIR}/delay_imports/lib${target}.a)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "${def}")
  set(kill_at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)
  endif()
  add_custom_command(OUTPUT ${library}
    COMMAND ${QTRA_DLLTOOL} --input-def ${def_file} --output-delaylib ${library} ${kill_at}
    COMMAND ${QTRA_OBJCOPY} --wildcard --localize-symbol=__imp_* ${library}
    DEPENDS ${def_file} VERBATIM)
  add_custom_target(${target}_library DEPENDS ${library})
  # The import review reads the delay-loaded functions from these.
  set_property(GLOBAL APPEND PROPERTY QTRA_DELAY_IMPORT_DEFS ${def_file})
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE $<IF:$<BOOL:$<TARGET_PROPERTY:QTRA_DELAY_LOAD>>,${library},${plain}>)
  add_dependencies(${target} ${target}_library)
endfunction()

qtra_delay_import(qtra_delay_shell32 SHELL32.dll shell32
  SHGetMalloc@4 SHGetPathFromIDListW@8 SHGetSpecialFolderLocation@12 SHGetSpecialFolderPathA@16
  SHGetSpecialFolderPathW@16 ShellExecuteA@24 Shell_NotifyIconA@8)
qtra_delay_import(qtra_delay_comctl32 COMCTL32.DLL comctl32 InitCommonControlsEx@4)
get_property(QTRA_DELAY_IMPORT_DEFS GLOBAL PROPERTY QTRA_DELAY_IMPORT_DEFS)

# The given sources call the delay-loaded DLLs through the stubs.
function(qtra_calls_delay_loaded)
  set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_DEFINITIONS _SHELL32_ _COMCTL32_)
endfunction()
