// SPDX-License-Identifier: MIT
#include "tools/rowtool.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>

#include "fieldvalues/fieldtypes.h"
#include "fieldvalues/row.h"
#include "fieldvalues/tabledescription.h"
#include "fieldvalues/text.h"
#include "odbc/connectionstring.h"
#include "picker/insert/insert.h"

namespace {

const char UsageText[] =
    "Usage: quillon-row COMMAND FILE.dtd [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  describe FILE.dtd                  print the description: the connection string, the\n"
    "                                     table name, then one line per field with its name,\n"
    "                                     title, default, type name, length, required flag and\n"
    "                                     SQL type, tab-separated (\\t, \\n, \\r, \\\\ escaped)\n"
    "  create FILE.dtd                    write FILE.dtd from that same format on standard input\n"
    "  check FILE.dtd FIELD=VALUE...      check a row as the picker's \"Enter\" does\n"
    "  insert FILE.dtd FIELD=VALUE...     check the row and insert it into the table\n"
    "\n"
    "FIELD is a field's title, else its name, or #N for the N-th field (from 1). Fields not\n"
    "named start with their default values, as in the picker.\n"
    "\n"
    "Exit status: 0 done (or the row is acceptable), 1 refused or failed, 2 usage error,\n"
    "3 the connection was lost while the row was being stored: it may or may not have been\n"
    "stored, so check the table before inserting it again.\n";

int usageError(std::ostream &err, const std::string &problem)
{
    err << "quillon-row: " << problem << "\n"
        << "Try 'quillon-row --help' for more information.\n";
    return 2;
}

bool loadOrReport(const std::string &path, TableDescription &description, std::ostream &err)
{
    Message failure;
    if (loadTableDescription(path, description, &failure) == 0) {
        err << failure.text << "\n";
        return false;
    }
    setValueWidths(description);
    return true;
}

// Finds a field by title, else by name, or by "#N".
int findField(const TableDescription &description, const std::string &key)
{
    if (key.size() > 1 && key[0] == '#') {
        int n = 0;
        const char *last = key.data() + key.size();
        std::from_chars_result read = std::from_chars(key.data() + 1, last, n);
        bool number = read.ec == std::errc() && read.ptr == last;
        return number && n >= 1 && n <= description.fieldCount ? n - 1 : -1;
    }
    for (int i = 0; i < description.fieldCount; ++i) {
        if (description.fields[static_cast<std::size_t>(i)].title == key)
            return i;
    }
    for (int i = 0; i < description.fieldCount; ++i) {
        if (description.fields[static_cast<std::size_t>(i)].name == key)
            return i;
    }
    return -1;
}

// Starts a row from the defaults and puts the given values in, cut to their fields' widths as
// picked text is. Returns 2 on a usage error, 0 otherwise.
int buildRow(const TableDescription &description, const std::vector<std::string> &assignments,
             std::vector<std::string> &values, std::ostream &err)
{
    values.assign(static_cast<std::size_t>(description.fieldCount), std::string());
    startRow(description, values);
    for (const std::string &assignment : assignments) {
        std::size_t equals = assignment.find('=');
        if (equals == std::string::npos)
            return usageError(err, "expected FIELD=VALUE, got '" + assignment + "'");
        std::string key = assignment.substr(0, equals);
        int index = findField(description, key);
        if (index < 0)
            return usageError(err, "no field '" + key + "' in the description");
        const FieldDescription &field = description.fields[static_cast<std::size_t>(index)];
        std::string value = assignment.substr(equals + 1);
        if (value.size() > static_cast<std::size_t>(field.valueWidth)) {
            cutToWidth(value, static_cast<std::size_t>(field.valueWidth));
            err << "quillon-row: the value for " << field.title << " was cut to "
                << field.valueWidth << " bytes\n";
        }
        values[static_cast<std::size_t>(index)] = value;
    }
    return 0;
}

// The required column as describe prints it (0 or 1), or as the wizard's list shows it.
bool isNotRequired(const std::string &text)
{
    return text.empty() || text == "No" || text == "0";
}

std::vector<std::string> splitColumns(const std::string &line)
{
    std::vector<std::string> columns;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        columns.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return columns;
}

} // namespace

MessageAnswer StreamMessageSink::show(const Message &message)
{
    m_stream << message.caption << "\n" << message.text << "\n";
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string escapeColumn(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescapeColumn(const std::string &text, std::string &out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

int runDescribe(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() != 1 || args[0].empty())
        return usageError(err, "describe takes one file");
    TableDescription description;
    if (!loadOrReport(args[0], description, err))
        return 1;
    out << escapeColumn(description.connectString) << "\n"
        << escapeColumn(description.tableName) << "\n";
    for (int i = 0; i < description.fieldCount; ++i) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        out << escapeColumn(field.name) << '\t' << escapeColumn(field.title) << '\t'
            << escapeColumn(field.defaultValue) << '\t' << escapeColumn(field.typeName) << '\t'
            << field.length << '\t' << field.required << '\t' << field.sqlType << "\n";
    }
    return 0;
}

int runCreate(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
              std::ostream &err)
{
    (void)out;
    if (args.size() != 1 || args[0].empty())
        return usageError(err, "create takes one file");
    std::string connectString;
    std::string tableName;
    std::vector<FieldRow> rows;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> columns = splitColumns(line);
        std::vector<std::string> texts(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!unescapeColumn(columns[c], texts[c])) {
                err << "quillon-row: line " << number << ": bad escape sequence\n";
                return 1;
            }
        }
        if (number <= 2) {
            if (texts.size() != 1) {
                err << "quillon-row: line " << number << ": expected the "
                    << (number == 1 ? "connection string" : "table name") << " alone\n";
                return 1;
            }
            (number == 1 ? connectString : tableName) = texts[0];
            continue;
        }
        if (texts.size() != 7) {
            err << "quillon-row: line " << number
                << ": expected 7 tab-separated columns (name, title, default, type name, "
                   "length, required, SQL type)\n";
            return 1;
        }
        rows.push_back(FieldRow{texts[0], texts[1], texts[2], texts[3], texts[4],
                                isNotRequired(texts[5]) ? "No" : "Yes", texts[6]});
    }
    // The first line is the connection string as the file holds it. Saving drops one leading
    // "ODBC;", so a held string that starts with it gets one more in front.
    if (hasOdbcPrefix(connectString))
        connectString.insert(0, OdbcPrefix);
    Message failure;
    if (!saveTableDescription(args[0], connectString, tableName, rows, &failure)) {
        err << failure.text << "\n";
        return 1;
    }
    return 0;
}

int prepareCheckedRow(const std::string &command, const std::vector<std::string> &args,
                      TableDescription &description, std::vector<std::string> &values,
                      std::ostream &err)
{
    if (args.empty() || args[0].empty())
        return usageError(err, command + " needs a file");
    if (!loadOrReport(args[0], description, err))
        return 1;
    int usage = buildRow(description, {args.begin() + 1, args.end()}, values, err);
    if (usage != 0)
        return usage;
    RowProblem problem = checkRow(description, values);
    if (problem.field >= 0) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(problem.field)];
        err << field.title << ": "
            << (problem.missing ? std::string("a value is required") : problem.error) << "\n";
        return 1;
    }
    // As at "Enter" in the picker, a row without any value is no row at all; a value that the
    // check emptied counts as none.
    if (std::all_of(values.begin(), values.end(),
                    [](const std::string &value) { return value.empty(); })) {
        err << "quillon-row: the row holds no value\n";
        return 1;
    }
    return 0;
}

int runCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    TableDescription description;
    std::vector<std::string> values;
    int status = prepareCheckedRow("check", args, description, values, err);
    if (status != 0)
        return status;
    for (int i = 0; i < description.fieldCount; ++i) {
        const std::string &value = values[static_cast<std::size_t>(i)];
        if (!value.empty())
            out << description.fields[static_cast<std::size_t>(i)].title << '='
                << escapeColumn(value) << "\n";
    }
    return 0;
}

// The row of "check", stored in the description's table through a connection made without
// prompting. Every diagnostics box goes to `err` as its caption and text.
int runInsert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    (void)out;
    TableDescription description;
    std::vector<std::string> values;
    int status = prepareCheckedRow("insert", args, description, values, err);
    if (status != 0)
        return status;
    StreamMessageSink sink(err);
    switch (insertRowFromTexts(description, values, sink)) {
    case InsertOutcome::Stored:
        return 0;
    case InsertOutcome::InDoubt:
        return 3;
    default:
        return 1;
    }
}

namespace {

int dispatch(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
             std::ostream &err)
{
    if (args.empty())
        return usageError(err, "missing command");
    const std::string &command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    auto isHelpOption = [](const std::string &word) {
        return word == "--help" || word == "-h";
    };
    if (isHelpOption(command) || command == "help" || (!rest.empty() && isHelpOption(rest[0]))) {
        out << UsageText;
        return 0;
    }
    if (command == "describe")
        return runDescribe(rest, out, err);
    if (command == "create")
        return runCreate(rest, in, out, err);
    if (command == "check")
        return runCheck(rest, out, err);
    if (command == "insert")
        return runInsert(rest, out, err);
    return usageError(err, "unknown command '" + command + "'");
}

} // namespace

int runRowTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
               std::ostream &err)
{
    int status = dispatch(args, in, out, err);
    // Output that could not be written (a full disk, say) is no success.
    if (!out.flush() && status == 0) {
        err << "quillon-row: could not write the output\n";
        return 1;
    }
    return status;
}
