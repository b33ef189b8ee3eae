# Tests of the mini frame: its geometry as plain arithmetic, its painting and mouse handling on
# the offscreen platform, and the demo with the toolbar on a real X server (label e2e).
find_package(Qt6 REQUIRED COMPONENTS Test)

set(MINIFRAME_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")

add_executable(miniframe_geometry_test ${CMAKE_CURRENT_LIST_DIR}/miniframe_geometry_test.cpp)
target_link_libraries(miniframe_geometry_test PRIVATE miniframegeometry GTest::gtest_main)
gtest_discover_tests(miniframe_geometry_test DISCOVERY_MODE PRE_TEST)

add_executable(miniframe_widget_test
    ${CMAKE_CURRENT_LIST_DIR}/miniframe_widget_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/miniframetestmain.cpp
)
target_link_libraries(miniframe_widget_test PRIVATE miniframe Qt6::Test GTest::gtest)
gtest_discover_tests(miniframe_widget_test
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${MINIFRAME_TEST_ENVIRONMENT}")

add_executable(miniframe_screenshot_e2e ${CMAKE_CURRENT_LIST_DIR}/miniframe_screenshot_e2e.cpp)
target_link_libraries(miniframe_screenshot_e2e PRIVATE Qt6::Gui GTest::gtest)
set(MINIFRAME_SCREENSHOT_DIR ${CMAKE_CURRENT_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${MINIFRAME_SCREENSHOT_DIR})
target_compile_definitions(miniframe_screenshot_e2e PRIVATE
    DEMO_PROGRAM="$<TARGET_FILE:miniframe-demo>"
    SCREENSHOT_DIR="${MINIFRAME_SCREENSHOT_DIR}")
add_dependencies(miniframe_screenshot_e2e miniframe-demo)
foreach(layout Column Row)
    add_test(NAME MiniFrameE2E.DemoScreenshot.${layout}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-x
                     $<TARGET_FILE:miniframe_screenshot_e2e>
                     --gtest_filter=MiniFrame/DemoScreenshot.*/${layout})
    set_tests_properties(MiniFrameE2E.DemoScreenshot.${layout} PROPERTIES
        LABELS e2e TIMEOUT 60
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endforeach()
