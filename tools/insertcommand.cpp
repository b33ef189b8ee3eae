#include "rowtool.h"

#include <iostream>

#include "insert.h"

// insert FILE.dtd FIELD=VALUE...: the row of "check", stored in the description's table through
// a connection made without prompting. Every diagnostics box goes to `err` as its caption and
// text.
int RunInsert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    (void)out;
    TableDescription description;
    std::vector<std::string> values;
    const int prepared = PrepareCheckedRow(args, description, values, err);
    if (prepared != 0)
        return prepared;
    StreamMessageSink sink(err);
    return InsertRowFromTexts(description, values, sink) == 0 ? 0 : 1;
}
