# Helpers shared by every module's CMakeLists.

# moradex_module(<name> SOURCES ... [DEPS ...])
# One static library per module; every module includes from src/.
function(moradex_module name)
    cmake_parse_arguments(M "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${M_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${M_DEPS})
endfunction()

# moradex_test(<name> LABELS ... SOURCES ... [DEPS ...] [FIXTURES])
# A GoogleTest executable whose cases are registered with CTest under the given labels.
# FIXTURES makes the cases wait for the generated media fixtures.
function(moradex_test name)
    cmake_parse_arguments(T "FIXTURES" "" "LABELS;SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    set(props LABELS "${T_LABELS}")
    if(T_FIXTURES)
        target_link_libraries(${name} PRIVATE test_fixtures)
        list(APPEND props FIXTURES_REQUIRED media_fixtures
             ENVIRONMENT "MORADEX_FIXTURES=${MORADEX_FIXTURE_DIR}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${props})
    # The discovery script flattens its property list, so a second label or a second variable
    # would be read as a property name: such lists are set on the discovered cases afterwards.
    list(LENGTH T_LABELS label_count)
    if(label_count GREATER 1 OR MORADEX_SANITIZER_ENV)
        set(env ${MORADEX_SANITIZER_ENV})
        if(T_FIXTURES)
            list(APPEND env "MORADEX_FIXTURES=${MORADEX_FIXTURE_DIR}")
        endif()
        set(labels_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
        file(WRITE ${labels_file}
             "foreach(t IN LISTS ${name}_TESTS)\n"
             "  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"${T_LABELS}\")\n"
             "  set_tests_properties(\"\${t}\" PROPERTIES ENVIRONMENT \"${env}\")\n"
             "endforeach()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_file})
    endif()
endfunction()

# moradex_sanitizer_env(<test> ...)
# Gives tests added with add_test the sanitizers' options of a sanitizer build.
function(moradex_sanitizer_env)
    if(MORADEX_SANITIZER_ENV)
        set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT ${MORADEX_SANITIZER_ENV})
    endif()
endfunction()

# Adds each listed subdirectory that exists, so modules can land one at a time.
function(moradex_subdirs)
    foreach(dir ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
