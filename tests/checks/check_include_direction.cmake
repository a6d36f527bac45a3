# Fails when an include crosses the modules' layers the wrong way, when a source lies outside
# every module, or when code above the platform layer includes an operating-system header.
# SOURCE_DIR: the src folder to read.
#
# The layers, lowest first: platform < media, catalogue < skin/core < controls < form, menus <
# lists < dialogs < app. Each module lists what it may include besides itself; a list starts
# from the one below it, so a module reaches everything under it and nothing beside or above.
cmake_minimum_required(VERSION 3.25)

set(may_platform/rtl "")
set(may_platform/sys platform/rtl)
set(may_platform/gfx platform/rtl)
set(may_platform/win platform/rtl platform/sys platform/gfx)
set(may_platform/vcl ${may_platform/win} platform/win)
set(may_platform/shell ${may_platform/vcl} platform/vcl)
set(platform ${may_platform/shell} platform/shell)

set(may_media/libs ${platform})
set(may_media/probe ${platform} media/libs)
set(may_media/engine ${platform} media/libs)
set(may_media/tasks ${platform} media/libs media/probe media/engine)
set(may_media/player ${platform} media/libs media/probe)
set(media media/libs media/probe media/engine media/tasks media/player)
# The catalogue fills the task manager's option records.
set(may_catalogue ${platform} ${media})

# The generated skin packages stand on the skin core, beside it.
set(may_skin/core ${platform} ${media} catalogue)
set(may_skin/packages ${may_skin/core} skin/core)
set(may_skin/controls ${may_skin/packages} skin/packages)
set(may_skin/menus ${may_skin/controls} skin/controls)
# The form carries a menu bar; the menus know no form.
set(may_skin/form ${may_skin/menus} skin/menus)
set(may_skin/lists ${may_skin/form} skin/form)
set(may_skin/dialogs ${may_skin/lists} skin/lists)
set(may_app ${may_skin/dialogs} skin/dialogs)

set(modules ${platform} ${media} catalogue skin/core skin/packages skin/controls skin/menus
    skin/form skin/lists skin/dialogs app)

set(os_header "^(unistd|fcntl|poll|dlfcn|pthread|signal|dirent|sched|spawn|termios|pwd|grp|glob|\
fnmatch|wordexp|libgen|langinfo|iconv|execinfo|link|netdb|ft2build|fontconfig/[^/]+)\\.h$|\
^(sys|X11|linux|asm|netinet|arpa|freetype)/")

# The module a path under src belongs to, or "" when it lies in none.
function(module_of path out)
    set(found "")
    foreach(module ${modules})
        if(path MATCHES "^${module}/")
            set(found ${module})
            break()
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

get_filename_component(SOURCE_DIR ${SOURCE_DIR} ABSOLUTE)
set(faults "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT sources)
foreach(source ${sources})
    module_of(${source} module)
    if(module STREQUAL "")
        string(APPEND faults "\n  ${source}: lies in no module")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
        if(line MATCHES "<([^>]+)>")
            set(header ${CMAKE_MATCH_1})
            if(NOT module MATCHES "^platform/" AND header MATCHES "${os_header}")
                string(APPEND faults "\n  ${source}: <${header}> above the platform layer")
            endif()
            continue()
        endif()
        if(NOT line MATCHES "\"([^\"]+)\"")
            continue()
        endif()
        set(header ${CMAKE_MATCH_1})
        # A bare name is a neighbour in the same folder.
        if(NOT header MATCHES "/")
            continue()
        endif()
        module_of(${header} target)
        if(target STREQUAL module OR (NOT target STREQUAL "" AND target IN_LIST may_${module}))
            continue()
        endif()
        string(APPEND faults "\n  ${source}: \"${header}\"")
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "includes that cross the layers the wrong way:${faults}")
endif()
message(STATUS "every include keeps its direction")
