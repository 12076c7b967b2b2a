# lumivane_add_test(<name> LABEL <label> SOURCES <files...> LIBS <targets...>)
# A GoogleTest program, registered with CTest test by test under the folder's label.
function(lumivane_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
    gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} DISCOVERY_TIMEOUT 60)
endfunction()

# lumivane_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> [INCLUDES <folders...>] CORPUS <folder>)
# The fuzz target defines LLVMFuzzerTestOneInput. With LUMIVANE_FUZZ (clang) it becomes a libFuzzer
# program; otherwise it is linked with a replay driver that runs every file of the corpus once, and that
# replay is a CTest test, so the corpus is checked on every build.
function(lumivane_add_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS;INCLUDES" ${ARGN})
    if(LUMIVANE_FUZZ)
        add_executable(${name} ${ARG_SOURCES})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz ${ARG_INCLUDES})
    elseif(LUMIVANE_BUILD_TESTS)
        add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
        target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
        target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR}/fuzz ${ARG_INCLUDES})
        add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
        set_tests_properties(${name}_corpus PROPERTIES LABELS fuzz)
    endif()
endfunction()
