#include "catalog/csv.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kQuote = '"';

bool needsQuotes(std::string_view text) {
    if (text.find_first_of(",\"\r\n") != std::string_view::npos) return true;
    return !text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                             text.back() == '\t');
}

}  // namespace

std::string csvField(std::string_view text) {
    if (!needsQuotes(text)) return std::string(text);
    std::string quoted(1, kQuote);
    for (char c : text) {
        if (c == kQuote) quoted += kQuote;
        quoted += c;
    }
    quoted += kQuote;
    return quoted;
}

std::string csvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) record += ',';
        record += csvField(fields[i]);
    }
    record += "\r\n";
    return record;
}

CsvText readCsv(std::string_view text) {
    CsvText result;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    auto fail = [&result](int line, int column, std::string problem) {
        result.records.clear();
        result.problem = std::move(problem);
        result.line = line;
        result.column = column;
        return result;
    };
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        bool recordEnds = false;
        while (!recordEnds) {
            const int column = int(record.fields.size()) + 1;
            std::string field;
            if (i < text.size() && text[i] == kQuote) {
                const int openedOn = line;
                ++i;
                for (;;) {
                    if (i >= text.size())
                        return fail(openedOn, column, "a quoted field is never closed");
                    if (text[i] == kQuote) {
                        if (i + 1 < text.size() && text[i + 1] == kQuote) {
                            field += kQuote;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n') ++line;
                    field += text[i++];
                }
                const bool fieldEnds = i >= text.size() || text[i] == ',' || text[i] == '\n' ||
                                       text.substr(i, 2) == "\r\n";
                if (!fieldEnds) return fail(line, column, "text follows the closing quote");
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\n' &&
                       text.substr(i, 2) != "\r\n") {
                    if (text[i] == kQuote)
                        return fail(line, column, "a quote inside a field that is not quoted");
                    field += text[i++];
                }
            }
            record.fields.push_back(std::move(field));
            if (i < text.size() && text[i] == ',') {
                ++i;
            } else {
                recordEnds = true;
                i += i < text.size() && text[i] == '\r' ? 2 : 1;
                ++line;
            }
        }
        result.records.push_back(std::move(record));
    }
    return result;
}
