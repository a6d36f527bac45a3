# The checkers themselves, on small trees: a tidy one passes, and each kind of fault in a wrong
# one is named.
# CLANG_FORMAT: the clang-format program. CHECKS_DIR: this folder.
cmake_minimum_required(VERSION 3.25)

set(fixtures ${CHECKS_DIR}/fixtures)
set(faults "")

# Runs a checker script; sets passed and output in the caller.
function(run_check script)
    execute_process(COMMAND ${CMAKE_COMMAND} ${ARGN} -P ${CHECKS_DIR}/${script}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(status EQUAL 0)
        set(passed TRUE PARENT_SCOPE)
    else()
        set(passed FALSE PARENT_SCOPE)
    endif()
    # The message wraps long lines; the places are matched on the joined text.
    string(REGEX REPLACE "\n +" " " joined "${out}${err}")
    set(output "${joined}" PARENT_SCOPE)
endfunction()

# Each expected text must appear in output; each forbidden one must not.
function(expect name)
    cmake_parse_arguments(arg "" "" "NAMES;NOT_NAMES" ${ARGN})
    foreach(text ${arg_NAMES})
        string(FIND "${output}" "${text}" at)
        if(at EQUAL -1)
            string(APPEND faults "\n  ${name}: does not name ${text}")
        endif()
    endforeach()
    foreach(text ${arg_NOT_NAMES})
        string(FIND "${output}" "${text}" at)
        if(NOT at EQUAL -1)
            string(APPEND faults "\n  ${name}: names ${text}")
        endif()
    endforeach()
    set(faults "${faults}" PARENT_SCOPE)
endfunction()

run_check(check_include_direction.cmake -DSOURCE_DIR=${fixtures}/layers_good)
if(NOT passed)
    string(APPEND faults "\n  include direction fails a tidy tree:\n${output}")
endif()

run_check(check_include_direction.cmake -DSOURCE_DIR=${fixtures}/layers_wrong)
if(passed)
    string(APPEND faults "\n  include direction passes a wrong tree")
endif()
expect("include direction"
    NAMES
        # a layer reaching up, inside the platform and across the skin
        "platform/rtl/strings.h: \"platform/win/window.h\""
        "skin/core/skin_data.h: \"skin/controls/skin_control.h\""
        # between neighbours of one layer, against the named direction
        "skin/menus/skin_menu.cpp: \"skin/form/skin_form.h\""
        "media/player/player.cpp: \"media/engine/run_loop.h\""
        "media/libs/loader.cpp: \"catalogue/presets.h\""
        # the operating system above the platform layer
        "skin/lists/list_box.cpp: <X11/Xlib.h> above the platform layer"
        "skin/lists/list_box.cpp: <sys/stat.h> above the platform layer"
        "app/main.cpp: <dlfcn.h> above the platform layer"
        "tools/helper.cpp: lies in no module"
    NOT_NAMES
        "skin/menus/skin_menu.cpp: \"skin/controls/skin_control.h\""
        "media/player/player.cpp: \"media/probe/probe.h\""
        "<zlib.h>"
        "app/main.cpp: \"skin/dialogs/open_dialog.h\"")

run_check(check_format.cmake -DCLANG_FORMAT=${CLANG_FORMAT}
          -DFILES=${fixtures}/format_good/tidy.cpp)
if(NOT passed)
    string(APPEND faults "\n  format fails a tidy file:\n${output}")
endif()

run_check(check_format.cmake -DCLANG_FORMAT=${CLANG_FORMAT}
          "-DFILES=${fixtures}/format_good/tidy.cpp\;${fixtures}/format_wrong/misformatted.cpp")
if(passed)
    string(APPEND faults "\n  format passes a misformatted file")
endif()
expect("format"
    NAMES "1 files do not match" "misformatted.cpp:8:" "misformatted.cpp:10:"
    NOT_NAMES "tidy.cpp" "misformatted.cpp:9:")

if(faults)
    message(FATAL_ERROR "the checkers are wrong:${faults}")
endif()
message(STATUS "the checkers pass tidy trees and name every fault of wrong ones")
