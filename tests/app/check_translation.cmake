# Fails when a text that goes through the translator has no finished Russian
# entry: lupdate runs over the sources into a copy of the translation file,
# which must then hold no unfinished entry.
#   cmake -DLUPDATE=... -DSOURCE_DIR=... -DSOURCES="dir|dir" -DWORK_DIR=... -P check_translation.cmake
string(REPLACE "|" ";" source_dirs "${SOURCES}")
set(ts_copy ${WORK_DIR}/tb_client_ru.check.ts)
file(COPY_FILE ${SOURCE_DIR}/resources/tb_client_ru.ts ${ts_copy})
execute_process(
    COMMAND ${LUPDATE} -no-obsolete -locations none
        ${source_dirs} -ts ${ts_copy}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(STRINGS ${ts_copy} unfinished REGEX "type=\"unfinished\"")
list(LENGTH unfinished count)
if(count GREATER 0)
    message(FATAL_ERROR "${count} text(s) without a finished Russian entry; "
        "run `cmake --build build --target lupdate`, translate them in "
        "resources/tb_client_ru.ts and see ${ts_copy}\n${output}")
endif()
message(STATUS "every text has a finished Russian entry")
