// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A temporary folder that is removed with everything in it.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TemporaryFolder() { std::filesystem::remove_all(m_path); }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string file(const std::string &name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline std::string readBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Builds the bytes of a Table Description file item by item.
class DtdBytes
{
public:
    DtdBytes &integer(std::int32_t value)
    {
        auto u = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes.push_back(static_cast<char>((u >> shift) & 0xFF));
        return *this;
    }
    DtdBytes &text(const std::string &value)
    {
        integer(static_cast<std::int32_t>(value.size()));
        m_bytes += value;
        return *this;
    }
    DtdBytes &field(const std::string &name, const std::string &title,
                    const std::string &defaultValue, const std::string &typeName,
                    std::int32_t length, std::int32_t required, std::int32_t sqlType)
    {
        return text(name)
            .text(title)
            .text(defaultValue)
            .text(typeName)
            .integer(length)
            .integer(required)
            .integer(sqlType);
    }
    DtdBytes &header(std::int32_t count, const std::string &connect = "DSN=sample",
                     const std::string &table = "T")
    {
        return integer(0x33554466).integer(count).text(connect).text(table);
    }
    const std::string &bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};
