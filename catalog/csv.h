// Comma-separated text as RFC 4180 has it: fields quoted where they must be, records ended by
// CR LF, and the reading of such text into records, each with the line it starts on, so that a
// complaint can name the line and column. The edition CSV and the analysis tool's tables use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The field as it stands, or in double quotes (inner quotes doubled) when it holds a comma, a
// quote, a line break, or begins or ends with a blank a spreadsheet might drop.
std::string csvField(std::string_view text);
// The fields, each quoted as csvField does, joined by commas and ended by CR LF.
std::string csvRecord(const std::vector<std::string>& fields);

struct CsvRecord {
    int line = 0;  // 1-based line of the text the record starts on
    std::vector<std::string> fields;
};

struct CsvText {
    std::vector<CsvRecord> records;
    // Empty when the text reads; otherwise what is wrong and where (1-based line and column).
    std::string problem;
    int line = 0, column = 0;
};

// Records end at LF or CR LF; the last may lack its line end. A UTF-8 byte order mark at the
// start is skipped. A quoted field may hold commas, quotes (doubled) and line breaks. A quote
// inside an unquoted field, text after a closing quote, or a quote never closed is a problem.
CsvText readCsv(std::string_view text);
