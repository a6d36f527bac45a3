# Fails when a C++ source does not match the repository's .clang-format, naming each line that
# would change.
# CLANG_FORMAT: the clang-format program. SOURCE_DIR: the repository; its tracked .h and .cpp
# files are read. FILES (optional): these files instead.
cmake_minimum_required(VERSION 3.25)

if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format was not found when the build was configured: "
                        "scripts/deps installs it")
endif()
if(NOT FILES)
    execute_process(COMMAND git ls-files -- "*.h" "*.cpp"
                    WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE tracked RESULT_VARIABLE status ERROR_VARIABLE error)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot list the tracked sources of ${SOURCE_DIR}: ${error}")
    endif()
    string(REGEX REPLACE "\n$" "" tracked "${tracked}")
    string(REPLACE "\n" ";" tracked "${tracked}")
    # The checker's own example of a misformatted file.
    list(FILTER tracked EXCLUDE REGEX "^tests/checks/fixtures/format_wrong/")
    set(FILES "")
    foreach(file ${tracked})
        list(APPEND FILES ${SOURCE_DIR}/${file})
    endforeach()
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${FILES}
                RESULT_VARIABLE status ERROR_VARIABLE report OUTPUT_VARIABLE report_out)
if(NOT status EQUAL 0)
    # One line a place: file:line: what clang-format would change.
    string(REGEX MATCHALL "[^\n]+: error: [^\n]+" places "${report}")
    set(files "")
    foreach(place ${places})
        string(REGEX REPLACE ":[0-9]+:[0-9]+: error:.*" "" file "${place}")
        list(APPEND files ${file})
    endforeach()
    list(REMOVE_DUPLICATES files)
    list(LENGTH files count)
    string(REPLACE ";" "\n  " places "${places}")
    message(FATAL_ERROR "${count} files do not match .clang-format (clang-format -i fixes "
                        "them):\n  ${places}\n${report_out}")
endif()
list(LENGTH FILES count)
message(STATUS "${count} files match .clang-format")
