# Makes the release package from the built programs, as the build's `package`
# target does, checks what it holds and unpacks it into DEST, emptied first: the
# folder a player gets.
#   cmake -DCPACK=... -DBUILD=... -DZIP=... -DDEST=... -DOBJDUMP=... -DVERSION=...
#         -P unpack_package.cmake
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE status OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS ${ZIP})
    message(FATAL_ERROR "cpack made no ${ZIP} (${status}):\n${output}")
endif()

file(REMOVE_RECURSE ${DEST})
file(MAKE_DIRECTORY ${DEST})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${DEST})

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${DEST} ${DEST}/*)
list(SORT files)
set(expected README.txt lbdtool.exe lorebinder.exe sample/journal.htm sample/quests.lbd)
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "the package holds ${files}, not ${expected}")
endif()

# Notepad on older Windows shows a file with bare LF line ends as one long line.
file(READ ${DEST}/README.txt readme HEX)
string(REGEX REPLACE "(..)" "\\1 " bytes "${readme}")
string(REPLACE "0d 0a " "" bytes "${bytes}")
if(bytes MATCHES "(^| )0a ")
    message(FATAL_ERROR "README.txt has a line that does not end in CR LF")
endif()
file(STRINGS ${DEST}/README.txt title LIMIT_COUNT 1)
if(NOT title STREQUAL "Lorebinder ${VERSION}")
    message(FATAL_ERROR "README.txt begins with \"${title}\", not the version ${VERSION}")
endif()

# lbdtool runs in a console: it has no use for a windowing library, and importing
# one only slows its start and ties it to a desktop.
execute_process(COMMAND ${OBJDUMP} -p ${DEST}/lbdtool.exe RESULT_VARIABLE status
                OUTPUT_VARIABLE headers ERROR_VARIABLE headers)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT status EQUAL 0 OR NOT imports)
    message(FATAL_ERROR "can't read the imports of lbdtool.exe (${status}):\n${headers}")
endif()
string(TOLOWER "${imports}" imports)
foreach(windowing user32 gdi32 comctl32)
    if(imports MATCHES "${windowing}\\.dll")
        message(FATAL_ERROR "lbdtool.exe imports ${windowing}.dll: ${imports}")
    endif()
endforeach()
