#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "message.h"

// The commands of quillon-row, each taking its arguments after the command word and returning
// the process's exit code: 0 done or acceptable, 1 refused or failed, 2 usage error.

int RunDescribe(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int RunCreate(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
              std::ostream &err);
int RunCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int RunInsert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Dispatches on the command word; `args` excludes the program name.
int RunRowTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
               std::ostream &err);

// Tab, line feed, carriage return and backslash as \t, \n, \r and \\, so that a field is one
// line of tab-separated columns.
std::string EscapeColumn(const std::string &text);
bool UnescapeColumn(const std::string &text, std::string &out);

// Prints each message as its caption and text.
class StreamMessageSink : public MessageSink
{
public:
    explicit StreamMessageSink(std::ostream &stream) : m_stream(stream) {}
    MessageAnswer show(const Message &message) override;

private:
    std::ostream &m_stream;
};
