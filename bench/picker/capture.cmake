# Click-to-value latency of picking from a real application, against the bare Xlib sequence.
# Needs an X server with a window manager; started without DISPLAY it runs itself under
# tests/support/with-x, so `build/bin/capture_bench` works headless.
add_executable(capture_bench
    ${CMAKE_CURRENT_LIST_DIR}/capture_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_bare.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_bare.h
    ${PROJECT_SOURCE_DIR}/tests/e2e/x11input.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/x11input.h
)
target_include_directories(capture_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e)
target_link_libraries(capture_bench PRIVATE quillon_capture benchmark::benchmark
                                            X11::X11 X11::Xtst X11::Xfixes)
target_compile_definitions(capture_bench PRIVATE
    TK_TARGET_SCRIPT="${PROJECT_SOURCE_DIR}/tests/e2e/tktarget.tcl"
    WITH_X="${PROJECT_SOURCE_DIR}/tests/support/with-x")
