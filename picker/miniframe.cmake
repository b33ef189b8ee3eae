# The mini frame: the picker's window frame with its own narrow caption. The geometry is plain
# C++; the widget paints and answers the mouse from it.
add_library(miniframegeometry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/miniframegeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/miniframegeometry.h
)
target_include_directories(miniframegeometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_library(miniframe STATIC
    ${CMAKE_CURRENT_LIST_DIR}/miniframe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/miniframe.h
)
set_target_properties(miniframe PROPERTIES AUTOMOC ON)
target_include_directories(miniframe PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(miniframe PUBLIC miniframegeometry Qt6::Widgets)

# A demo of the frame holding the toolbar: three fields, a separator and "Enter". Built, not
# installed. `miniframe-demo --help` lists its options.
add_executable(miniframe-demo
    ${CMAKE_CURRENT_LIST_DIR}/demo/main.cpp
    ${PROJECT_SOURCE_DIR}/resources/quillonicon.qrc
)
set_target_properties(miniframe-demo PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(miniframe-demo PRIVATE miniframe kolvane)
