// SPDX-License-Identifier: MIT
// checkFieldValue for each field class, and the reading of a 30-field description, each next to
// a baseline measured in the same run: copying the value text (the least any check must do) and
// reading the same file's bytes into memory.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <benchmark/benchmark.h>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/tabledescription.h"

namespace {

struct Sample
{
    const char *name;
    int sqlType;
    int length;
    const char *value;
};

const Sample samples[] = {
    {"Bit", -7, 1, "1"},
    {"WholeNumber", 4, 4, "1,234,567"},
    {"Character", 12, 50, "Jonathan Smith-Weatherby"},
    {"ExactNumeric", 2, 12, "1,234,567.50"},
    {"ApproximateNumeric", 8, 8, "3.141592"},
    {"Date", 9, 6, "Dec 31, 1999"},
    {"Time", 10, 6, "23:59:59"},
    {"Timestamp", 11, 16, "12/31/1999-23:59:59"},
    {"Unsupported", -2, 16, "00ff"},
};

void bmCopyValue(benchmark::State &state)
{
    const Sample &sample = samples[state.range(0)];
    std::string value;
    value.reserve(64);
    for (auto _ : state) {
        value = sample.value;
        benchmark::DoNotOptimize(value.data());
    }
    state.SetLabel(sample.name);
}

void bmCheckFieldValue(benchmark::State &state)
{
    const Sample &sample = samples[state.range(0)];
    std::string value;
    std::string error;
    value.reserve(64);
    error.reserve(128);
    for (auto _ : state) {
        value = sample.value;
        benchmark::DoNotOptimize(checkFieldValue(value, sample.sqlType, sample.length, error));
    }
    state.SetLabel(sample.name);
}

BENCHMARK(bmCopyValue)->DenseRange(0, std::size(samples) - 1);
BENCHMARK(bmCheckFieldValue)->DenseRange(0, std::size(samples) - 1);

std::string thirtyFieldFile()
{
    static const std::string path = [] {
        std::string file =
            (std::filesystem::temp_directory_path() / "quillon-bench-30.dtd").string();
        std::vector<FieldRow> rows;
        for (int i = 0; i < MaxFields; ++i) {
            std::string n = std::to_string(i);
            rows.push_back({"column_number_" + n, "Field" + n, i % 2 ? "default " + n : "",
                            "VARCHAR(255)", "255", i % 3 ? "No" : "Yes", "12"});
        }
        saveTableDescription(file, "DSN=benchmark;UID=someone;PWD=secret", "Orders", rows);
        return file;
    }();
    return path;
}

void bmReadFileBytes(benchmark::State &state)
{
    std::string path = thirtyFieldFile();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void bmLoadTableDescription30(benchmark::State &state)
{
    std::string path = thirtyFieldFile();
    TableDescription description;
    for (auto _ : state)
        benchmark::DoNotOptimize(loadTableDescription(path, description));
}

BENCHMARK(bmReadFileBytes);
BENCHMARK(bmLoadTableDescription30);

} // namespace

BENCHMARK_MAIN();
