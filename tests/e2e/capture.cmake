# Picking text from real applications (a Qt program of ours, Tk's wish and GTK's zenity) with the
# picker's toolbar.
find_package(Qt6 REQUIRED COMPONENTS Test)

# Mouse and keyboard through XTest, shared with the capture benchmark.
add_library(quillon_x11input STATIC
    ${CMAKE_CURRENT_LIST_DIR}/x11input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11input.h
)
target_include_directories(quillon_x11input PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillon_x11input PRIVATE X11::X11 X11::Xtst)

add_executable(capture_target_qt ${CMAKE_CURRENT_LIST_DIR}/qttarget.cpp)
target_link_libraries(capture_target_qt PRIVATE Qt6::Widgets)

add_executable(capture_e2e_test ${CMAKE_CURRENT_LIST_DIR}/capture_e2e_test.cpp)
set_target_properties(capture_e2e_test PROPERTIES AUTOMOC ON)
target_link_libraries(capture_e2e_test PRIVATE quillon_capture quillon_x11input kolvane
                                               Qt6::Test GTest::gtest)
target_compile_definitions(capture_e2e_test PRIVATE
    TK_TARGET_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/tktarget.tcl"
    QT_TARGET_PROGRAM="$<TARGET_FILE:capture_target_qt>")
add_dependencies(capture_e2e_test capture_target_qt)

# name, with-x options, test case
set(capture_e2e_cases
    "QtApplication|QtApplicationTextArrivesInTheClickedField|"
    "GtkApplication|GtkApplicationTextArrivesAndArrivesAgain|"
    "TkApplication|TkApplicationTextIsCleanedAndCutToTheFieldWidth|"
    "SameFieldTwice|SameFieldPickedTwiceReplacesAndKeepsThePreviousValue|"
    "TargetClosed|TargetClosedBeforeTheClickFailsQuietly|"
    "Picture|PictureOnTheClipboardEndsTheRequestSilently|"
    "NoWindowManager|WithoutWindowManagerTheFocusedWindowIsTheTarget|--no-wm"
    "ScreenCentre|WithoutFocusHistoryTheWindowAtTheScreenCentreIsTheTarget|--no-wm"
    "LongSelection|LongSelectionIsCutTo32000Bytes|"
    "WindowAtPoint|WindowAtAPointIsTheApplicationWindowInsideItsFrame|"
)
foreach(entry ${capture_e2e_cases})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 case)
    list(LENGTH parts count)
    set(options "")
    if(count GREATER 2)
        list(GET parts 2 options)
    endif()
    add_test(NAME CaptureE2E.${name}
             COMMAND ${WITH_X} ${options} $<TARGET_FILE:capture_e2e_test>
                     --gtest_filter=CaptureE2E.${case})
    set_tests_properties(CaptureE2E.${name} PROPERTIES
        LABELS e2e
        TIMEOUT 60
        ENVIRONMENT
            "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endforeach()
