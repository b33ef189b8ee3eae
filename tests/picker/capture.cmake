# Tests of picking: the text rules and the picked row as plain C++, the picking state driven by
# clipboard notices on the offscreen platform. The end-to-end tests on a real X server are in
# tests/e2e.
add_executable(capture_text_test ${CMAKE_CURRENT_LIST_DIR}/capture_text_test.cpp)
target_link_libraries(capture_text_test PRIVATE quillon_capture_core GTest::gtest_main)
gtest_discover_tests(capture_text_test DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)

add_executable(capture_controller_test ${CMAKE_CURRENT_LIST_DIR}/capture_controller_test.cpp)
target_link_libraries(capture_controller_test PRIVATE quillon_capture quillon_qt_test_main)
gtest_discover_tests(capture_controller_test NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen" "QUILLON_CAPTURE=null" "${QUILLON_TEST_LSAN}")
