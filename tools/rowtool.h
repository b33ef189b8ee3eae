// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "fieldvalues/message.h"
#include "fieldvalues/tabledescription.h"

// The commands of quillon-row, each taking its arguments after the command word and returning
// the process's exit code: 0 done or acceptable, 1 refused or failed, 2 usage error.

int runDescribe(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int runCreate(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
              std::ostream &err);
int runCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int runInsert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// The row of "check" and "insert": loads FILE.dtd (args[0]), starts a row from the defaults,
// puts the FIELD=VALUE arguments in and walks it as the picker's "Enter" does. Returns 0 with the
// description and the accepted values, or the exit code (1 refused, 2 usage error) after saying
// why on `err`.
int prepareCheckedRow(const std::string &command, const std::vector<std::string> &args,
                      TableDescription &description, std::vector<std::string> &values,
                      std::ostream &err);

// Dispatches on the command word; `args` excludes the program name.
int runRowTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
               std::ostream &err);

// Tab, line feed, carriage return and backslash as \t, \n, \r and \\, so that a field is one
// line of tab-separated columns.
std::string escapeColumn(const std::string &text);
bool unescapeColumn(const std::string &text, std::string &out);

// Prints each message as its caption and text.
class StreamMessageSink : public MessageSink
{
public:
    explicit StreamMessageSink(std::ostream &stream) : m_stream(stream) {}
    MessageAnswer show(const Message &message) override;

private:
    std::ostream &m_stream;
};
