# Tests of the picker's row insert: the statement and the diagnostics boxes on their own, then
# real inserts through SQLite, PostgreSQL (fixture "Postgres") and the scripted driver.
if(NOT TARGET quillon_scripted_odbc)
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../odbc ${CMAKE_BINARY_DIR}/tests/odbc)
endif()

add_library(quillon_insert_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/insert_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/insert_support.h
)
target_include_directories(quillon_insert_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillon_insert_test_support PUBLIC quillon_insert GTest::gtest)

# gtest_discover_tests passes one value per property, and the tests need several variables in
# their environment: a file read after the discovered tests sets it on all of them.
function(quillon_insert_test_environment target)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
    file(WRITE ${file} "if(${target}_TESTS)\n"
        "  set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT \"${QUILLON_ODBC_TEST_ENVIRONMENT}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()

add_executable(quillon_insert_test
    ${CMAKE_CURRENT_LIST_DIR}/insert_statement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/insert_sqlite_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/insert_scripted_test.cpp
)
target_link_libraries(quillon_insert_test PRIVATE quillon_insert_test_support GTest::gtest_main)
add_dependencies(quillon_insert_test quillon_scripted_odbc)
gtest_discover_tests(quillon_insert_test DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)
quillon_insert_test_environment(quillon_insert_test)

add_executable(quillon_insert_pg_test ${CMAKE_CURRENT_LIST_DIR}/insert_postgres_test.cpp)
target_link_libraries(quillon_insert_pg_test PRIVATE quillon_insert_test_support GTest::gtest_main)
gtest_discover_tests(quillon_insert_pg_test DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
    PROPERTIES FIXTURES_REQUIRED Postgres)
quillon_insert_test_environment(quillon_insert_pg_test)

# quillon-row insert, in-process and as the program (its tests live beside the tool's).
add_executable(quillon_insert_command_test
    ${CMAKE_CURRENT_LIST_DIR}/../tools/insert_command_test.cpp)
target_link_libraries(quillon_insert_command_test PRIVATE quillon_insert_test_support
    quillon_rowtool GTest::gtest_main)
target_compile_definitions(quillon_insert_command_test PRIVATE
    QUILLON_ROW_PROGRAM="$<TARGET_FILE:quillon-row>")
add_dependencies(quillon_insert_command_test quillon-row)
gtest_discover_tests(quillon_insert_command_test DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
    PROPERTIES FIXTURES_REQUIRED Postgres)
quillon_insert_test_environment(quillon_insert_command_test)
