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

add_executable(miniframe_e2e ${CMAKE_CURRENT_LIST_DIR}/miniframe_e2e.cpp)
target_link_libraries(miniframe_e2e PRIVATE Qt6::Gui GTest::gtest)
set(MINIFRAME_SCREENSHOT_DIR ${CMAKE_CURRENT_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${MINIFRAME_SCREENSHOT_DIR})
target_compile_definitions(miniframe_e2e PRIVATE
    DEMO_PROGRAM="$<TARGET_FILE:miniframe-demo>"
    SCREENSHOT_DIR="${MINIFRAME_SCREENSHOT_DIR}")
add_dependencies(miniframe_e2e miniframe-demo)

# name, with-x options, test case
set(miniframe_e2e_cases
    "ScreenshotColumn|MiniFrame/DemoScreenshot.*/Column|"
    "ScreenshotRow|MiniFrame/DemoScreenshot.*/Row|"
    "CaptionDrag|Demo.CaptionDragMovesTheWindow|"
    "CornerDrag|Demo.CornerDragSizesTheWindow|"
    "WindowMenuBox|Demo.BoxOpensTheMenuAndASecondClickOnlyClosesIt|"
    "DoubleClickBox|Demo.DoubleClickOnTheBoxCloses|"
    "MinimizeButton|Demo.MinimizeButtonCancelledBySlidingOff|"
    "FieldButton|Demo.FieldButtonClickAndRightClick|"
    "AltSpace|Demo.AltSpaceOpensTheFramesMenu|--no-wm"
)
foreach(entry ${miniframe_e2e_cases})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 case)
    list(LENGTH parts count)
    set(options "")
    if(count GREATER 2)
        list(GET parts 2 options)
    endif()
    add_test(NAME MiniFrameE2E.${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-x ${options}
                     $<TARGET_FILE:miniframe_e2e> --gtest_filter=${case})
    set_tests_properties(MiniFrameE2E.${name} PROPERTIES
        LABELS e2e TIMEOUT 60
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endforeach()
