# Fails when a media archive leaves an FFmpeg or SDL symbol undefined, i.e. calls it directly.
# ARCHIVES: the archives' paths, each after a "|".
string(REPLACE "|" ";" archives "${ARCHIVES}")
list(FILTER archives EXCLUDE REGEX "^$")
foreach(archive ${archives})
    execute_process(COMMAND ${NM} -u --no-sort ${archive} OUTPUT_VARIABLE undefined
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "nm failed on ${archive}")
    endif()
    string(REGEX MATCHALL
           "[ \t](av|avcodec_|avformat_|avfilter_|avdevice_|avio_|sws_|swr_|SDL_)[A-Za-z0-9_]*"
           direct "${undefined}")
    if(direct)
        message(FATAL_ERROR "direct library calls in ${archive}:${direct}")
    endif()
    message(STATUS "no direct library calls in ${archive}")
endforeach()
