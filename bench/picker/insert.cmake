# Rows per second of the picker's InsertRow against a prepare-once loop, on SQLite and on a
# throw-away PostgreSQL server that the benchmark starts with the tests' cluster script.
find_file(QUILLON_SQLITE_ODBC_DRIVER libsqlite3odbc.so
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/odbc /usr/lib/odbc /usr/lib64 /usr/lib
    NO_DEFAULT_PATH)
find_file(QUILLON_PSQL_ODBC_DRIVER psqlodbca.so
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/odbc /usr/lib/odbc /usr/lib64 /usr/lib
    NO_DEFAULT_PATH)
find_program(QUILLON_PG_CTL pg_ctl PATHS /usr/lib/postgresql/15/bin NO_DEFAULT_PATH)
get_filename_component(insert_bench_pg_bin "${QUILLON_PG_CTL}" DIRECTORY)

add_executable(quillon_insert_bench ${CMAKE_CURRENT_LIST_DIR}/insert_bench.cpp)
target_link_libraries(quillon_insert_bench PRIVATE quillon_insert benchmark::benchmark)
target_compile_definitions(quillon_insert_bench PRIVATE
    QUILLON_SQLITE_ODBC_DRIVER="${QUILLON_SQLITE_ODBC_DRIVER}"
    QUILLON_PSQL_ODBC_DRIVER="${QUILLON_PSQL_ODBC_DRIVER}"
    QUILLON_PG_BIN="${insert_bench_pg_bin}"
    QUILLON_PG_CLUSTER_SCRIPT="${PROJECT_SOURCE_DIR}/tests/odbc/pg-cluster")
