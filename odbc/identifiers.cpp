// SPDX-License-Identifier: MIT
#include "odbc/identifiers.h"

std::string quoteIdentifier(const std::string &name, std::string_view quote)
{
    if (quote.empty())
        return name;
    std::string quoted(quote);
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t found = name.find(quote, at);
        if (found == std::string::npos) {
            quoted.append(name, at);
            break;
        }
        quoted.append(name, at, found + quote.size() - at);
        quoted += quote;
        at = found + quote.size();
    }
    quoted += quote;
    return quoted;
}

std::string qualifiedTableName(const std::string &owner, const std::string &name,
                               std::string_view quote)
{
    return quoteIdentifier(owner, quote) + "." + quoteIdentifier(name, quote);
}

bool isQuotedTableReference(std::string_view text, std::string_view quote)
{
    if (quote.empty())
        return false;
    std::size_t at = 0;
    for (int parts = 1;; ++parts) {
        // One quoted name: the quote, then anything up to a quote that is not doubled.
        if (text.substr(at, quote.size()) != quote)
            return false;
        at += quote.size();
        bool closed = false;
        std::size_t length = 0;
        while (!closed) {
            const std::size_t found = text.find(quote, at);
            if (found == std::string_view::npos)
                return false;
            length += found - at;
            at = found + quote.size();
            if (text.substr(at, quote.size()) == quote) {
                at += quote.size();
                ++length;
            } else {
                closed = true;
            }
        }
        if (length == 0)
            return false;
        // A single quoted name is a table's own name that happens to start with the quote: the
        // wizard quotes only names that it qualifies.
        if (at == text.size())
            return parts > 1;
        if (text[at] != '.')
            return false;
        ++at;
    }
}

std::string tableInStatement(const std::string &table, std::string_view quote)
{
    return isQuotedTableReference(table, quote) ? table : quoteIdentifier(table, quote);
}
