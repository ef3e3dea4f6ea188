# The release package, a zip for players: the two programs, the players' README
# and the sample. Its files sit at the top, to be unpacked into a folder of their
# own; the sample keeps to sample/, so that no journal.htm lands on a player's.
install(TARGETS lorebinder lbdtool RUNTIME DESTINATION .)
# The README names the version; CR LF, for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/examples/journal.htm ${PROJECT_SOURCE_DIR}/examples/quests.lbd
        DESTINATION sample)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lorebinder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME lorebinder-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
