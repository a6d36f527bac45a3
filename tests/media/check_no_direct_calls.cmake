# Fails when the media archive leaves an FFmpeg or SDL symbol undefined, i.e. calls it directly.
execute_process(COMMAND ${NM} -u --no-sort ${ARCHIVE} OUTPUT_VARIABLE undefined
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${ARCHIVE}")
endif()
string(REGEX MATCHALL "[ \t](av|avcodec_|avformat_|avfilter_|avdevice_|avio_|sws_|swr_|SDL_)[A-Za-z0-9_]*"
       direct "${undefined}")
if(direct)
    message(FATAL_ERROR "direct library calls:${direct}")
endif()
message(STATUS "no direct library calls in ${ARCHIVE}")
