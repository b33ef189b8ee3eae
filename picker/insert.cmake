# The picker's row insert over ODBC: connection, INSERT statement, diagnostics. Plain C++.
add_library(quillon_insert STATIC
    ${CMAKE_CURRENT_LIST_DIR}/insert.cpp
    ${CMAKE_CURRENT_LIST_DIR}/insert.h
)
target_include_directories(quillon_insert PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillon_insert PUBLIC fieldvalues ODBC::ODBC)
