#include "odbc/connectionstring.h"

std::string ConnectValue(std::string_view connectString, std::string_view key)
{
    const std::size_t at = connectString.find(key);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = connectString.substr(at + key.size());
    return std::string(rest.substr(0, rest.find(';')));
}
