# Picking text from real applications (a Qt program of ours, Tk's wish and GTK's zenity) with the
# picker's toolbar.
# Mouse and keyboard through XTest, shared with the capture benchmark.
add_library(quillon_x11input STATIC
    ${CMAKE_CURRENT_LIST_DIR}/x11input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11input.h
)
target_include_directories(quillon_x11input PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillon_x11input PRIVATE X11::X11 X11::Xtst)

add_executable(capture_target_qt ${CMAKE_CURRENT_LIST_DIR}/qttarget.cpp)
target_link_libraries(capture_target_qt PRIVATE Qt6::Widgets)

add_executable(capture_endless_owner ${CMAKE_CURRENT_LIST_DIR}/endlessowner.cpp)
target_link_libraries(capture_endless_owner PRIVATE X11::X11)

add_executable(capture_e2e_test ${CMAKE_CURRENT_LIST_DIR}/capture_e2e_test.cpp)
set_target_properties(capture_e2e_test PROPERTIES AUTOMOC ON)
target_link_libraries(capture_e2e_test PRIVATE quillon_capture quillon_x11input kolvane
                                               Qt6::Test GTest::gtest)
target_compile_definitions(capture_e2e_test PRIVATE
    TK_TARGET_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/tktarget.tcl"
    QT_TARGET_PROGRAM="$<TARGET_FILE:capture_target_qt>"
    ENDLESS_OWNER_PROGRAM="$<TARGET_FILE:capture_endless_owner>")
add_dependencies(capture_e2e_test capture_target_qt capture_endless_owner)

# name, with-x options, test case
set(capture_e2e_cases
    "QtApplication|CaptureE2E.QtApplicationTextArrivesInTheClickedField|"
    "GtkApplication|CaptureE2E.GtkApplicationTextArrivesAndArrivesAgain|"
    "TkApplication|CaptureE2E.TkApplicationTextIsCleanedAndCutToTheFieldWidth|"
    "SameFieldTwice|CaptureE2E.SameFieldPickedTwiceReplacesAndKeepsThePreviousValue|"
    "TargetClosed|CaptureE2E.TargetClosedBeforeTheClickFailsQuietly|"
    "Picture|CaptureE2E.PictureOnTheClipboardEndsTheRequestSilently|"
    "SilentOwner|CaptureE2E.ClipboardOwnerThatNeverAnswersEndsTheRequest|"
    "EndlessOwner|CaptureE2E.ClipboardOwnerThatNeverFinishesEndsTheRequestWithWhatArrived|"
    "NoWindowManager|CaptureE2E.WithoutWindowManagerTheFocusedWindowIsTheTarget|--no-wm"
    "ScreenCentre|CaptureE2E.WithoutFocusHistoryTheWindowAtTheScreenCentreIsTheTarget|--no-wm"
    "LongSelection|CaptureE2E.LongSelectionIsCutTo32000Bytes|"
    "WindowAtPoint|CaptureE2E.WindowAtAPointIsTheApplicationWindowInsideItsFrame|"
)
quillon_add_x_tests(CaptureE2E capture_e2e_test ${capture_e2e_cases})
