# Tests of the mini frame: its geometry as plain arithmetic, its painting and mouse handling on
# the offscreen platform, and the demo with the toolbar on a real X server (label e2e).
set(MINIFRAME_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen" "${QUILLON_TEST_LSAN}")

add_executable(miniframe_geometry_test ${CMAKE_CURRENT_LIST_DIR}/miniframe_geometry_test.cpp)
target_link_libraries(miniframe_geometry_test PRIVATE miniframegeometry GTest::gtest_main)
gtest_discover_tests(miniframe_geometry_test DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)

add_executable(miniframe_widget_test ${CMAKE_CURRENT_LIST_DIR}/miniframe_widget_test.cpp)
target_link_libraries(miniframe_widget_test PRIVATE miniframe quillon_qt_test_main)
gtest_discover_tests(miniframe_widget_test NO_PRETTY_VALUES
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
quillon_add_x_tests(MiniFrameE2E miniframe_e2e ${miniframe_e2e_cases})
