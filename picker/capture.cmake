# Picking text from other applications: the row being picked, the cleaning of picked text, the
# capture controller with its status window, and the X11 backend behind the capture interface.

# Plain C++: the row and the text rules.
add_library(quillon_capture_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/capturebackend.h
    ${CMAKE_CURRENT_LIST_DIR}/capturetext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capturetext.h
    ${CMAKE_CURRENT_LIST_DIR}/pickedrow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pickedrow.h
)
target_include_directories(quillon_capture_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillon_capture_core PUBLIC fieldvalues)

# Xlib and XTest live in x11capture.cpp only; x11session.cpp ties it to Qt through xcb events.
add_library(quillon_x11 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/x11/x11capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11/x11capture.h
    ${CMAKE_CURRENT_LIST_DIR}/x11/x11session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11/x11session.h
)
target_include_directories(quillon_x11 PUBLIC ${CMAKE_CURRENT_LIST_DIR}/x11)
target_link_libraries(quillon_x11 PUBLIC quillon_capture_core Qt6::Gui PRIVATE X11::X11 X11::Xtst X11::xcb)

add_library(quillon_capture STATIC
    ${CMAKE_CURRENT_LIST_DIR}/capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture.h
    ${CMAKE_CURRENT_LIST_DIR}/capturebackend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qtmessagesink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qtmessagesink.h
    ${CMAKE_CURRENT_LIST_DIR}/statuswindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/statuswindow.h
)
set_target_properties(quillon_capture PROPERTIES AUTOMOC ON)
target_link_libraries(quillon_capture PUBLIC quillon_capture_core quillon_x11 Qt6::Widgets)
