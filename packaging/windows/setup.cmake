# Makes the Windows setup: installs the build into a folder of its own, as
# the zip holds it, lists that folder for the setup to install and for the
# uninstaller to remove (and nothing else: the contacts stay), and runs
# makensis. Run by the "setup" target:
#   cmake -DBUILD=<build dir> -DNSI=<setup.nsi> -DMAKENSIS=<makensis>
#         -DVERSAO=<x.y[.z]> -DSAIDA=<setup.exe> -P setup.cmake
foreach(v BUILD NSI MAKENSIS VERSAO SAIDA)
    if(NOT DEFINED ${v})
        message(FATAL_ERROR "setup.cmake needs -D${v}=")
    endif()
endforeach()
if(NOT EXISTS "${MAKENSIS}")
    message(FATAL_ERROR "makensis was not found: scripts/deps.sh windows installs Debian's nsis")
endif()

set(pasta "${BUILD}/setup")
set(origem "${pasta}/arquivos")
file(REMOVE_RECURSE "${pasta}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${origem}" --strip
                OUTPUT_QUIET RESULT_VARIABLE r)
if(NOT r EQUAL 0)
    message(FATAL_ERROR "installing the build into ${origem} failed")
endif()

file(GLOB_RECURSE arquivos LIST_DIRECTORIES false RELATIVE "${origem}" "${origem}/*")
list(SORT arquivos)
set(instalar "")
set(remover "")
set(pastas "")
set(bytes 0)
set(saida_atual "-")
foreach(a IN LISTS arquivos)
    if(a MATCHES "^contatos\\.")
        message(FATAL_ERROR "the setup must never carry a contact file: ${a}")
    endif()
    get_filename_component(p "${a}" DIRECTORY)
    string(REPLACE "/" "\\" a_win "${a}")
    if(NOT p STREQUAL saida_atual)
        set(saida_atual "${p}")
        if(p STREQUAL "")
            string(APPEND instalar "SetOutPath \"$INSTDIR\"\n")
        else()
            string(REPLACE "/" "\\" p_win "${p}")
            string(APPEND instalar "SetOutPath \"$INSTDIR\\${p_win}\"\n")
            list(APPEND pastas "${p_win}")
        endif()
    endif()
    string(APPEND instalar "File \"${origem}/${a}\"\n")
    string(APPEND remover "Delete \"$INSTDIR\\${a_win}\"\n")
    file(SIZE "${origem}/${a}" tamanho)
    math(EXPR bytes "${bytes} + ${tamanho}")
endforeach()
# The deepest folders first; each goes only when nothing is left in it.
list(REMOVE_DUPLICATES pastas)
list(SORT pastas)
list(REVERSE pastas)
foreach(p IN LISTS pastas)
    string(APPEND remover "RMDir \"$INSTDIR\\${p}\"\n")
endforeach()
math(EXPR kib "(${bytes} + 1023) / 1024")
file(WRITE "${pasta}/instalar.nsh" "${instalar}")
file(WRITE "${pasta}/remover.nsh" "${remover}")

# Windows wants four numbers in a version resource.
string(REGEX MATCHALL "[0-9]+" partes "${VERSAO}")
list(APPEND partes 0 0 0)
list(SUBLIST partes 0 4 partes)
list(JOIN partes "." versao_windows)

execute_process(COMMAND "${MAKENSIS}" -V2 -INPUTCHARSET UTF8 "-DVERSAO=${VERSAO}"
                        "-DVERSAO_WINDOWS=${versao_windows}" "-DTAMANHO_KB=${kib}"
                        "-DLISTAS=${pasta}" "-DSAIDA=${SAIDA}" "${NSI}"
                RESULT_VARIABLE r)
if(NOT r EQUAL 0)
    message(FATAL_ERROR "makensis failed")
endif()
