// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/csv.h"
#include "translate/translate_status.h"

namespace edt::translate::csv {

void appendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

namespace {

class Parser {
public:
    Parser(std::string_view data, std::vector<Problem>& problems, char separator)
        : data_(data), problems_(problems), separator_(separator) {
        if (data_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    std::vector<Record> run() {
        std::vector<Record> records;
        while (pos_ < data_.size()) {
            Record record;
            record.line = line_;
            if (!readRecord(record))
                break;
            records.push_back(std::move(record));
        }
        return records;
    }

private:
    bool atEnd() const { return pos_ >= data_.size(); }
    char peek() const { return data_[pos_]; }
    bool atLineBreak() const { return !atEnd() && (peek() == '\r' || peek() == '\n'); }

    // Steps over one CR LF, LF or lone CR and counts the line.
    void skipLineBreak() {
        if (peek() == '\r' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }

    // False when the rest of the data cannot be read.
    bool readRecord(Record& record) {
        while (true) {
            std::string field;
            if (!atEnd() && peek() == '"') {
                if (!readQuoted(field))
                    return false;
            } else {
                readUnquoted(field);
            }
            field.shrink_to_fit(); // grown by doubling: a large file is held once, not 1.5 times
            record.fields.push_back(std::move(field));
            if (atEnd())
                return true;
            if (peek() == separator_) {
                ++pos_;
                continue;
            }
            skipLineBreak();
            return true;
        }
    }

    bool readQuoted(std::string& field) {
        const std::size_t startLine = line_;
        ++pos_; // opening quote
        while (true) {
            if (atEnd()) {
                problems_.push_back(problemAt(startLine, translate::Code::UnclosedQuote));
                return false;
            }
            const char c = peek();
            if (c == '"') {
                if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\n' || (c == '\r' && !(pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n')))
                ++line_;
            field += c;
            ++pos_;
        }
        if (!atEnd() && peek() != separator_ && !atLineBreak()) {
            problems_.push_back(problemAt(line_, translate::Code::TextAfterQuote));
            while (!atEnd() && peek() != separator_ && !atLineBreak())
                field += data_[pos_++];
        }
        return true;
    }

    void readUnquoted(std::string& field) {
        bool reported = false;
        while (!atEnd() && peek() != separator_ && !atLineBreak()) {
            if (peek() == '"' && !reported) {
                problems_.push_back(problemAt(line_, translate::Code::BareQuote));
                reported = true;
            }
            field += data_[pos_++];
        }
    }

    std::string_view data_;
    std::vector<Problem>& problems_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    char separator_;
};

} // namespace

char separatorOf(std::string_view data) {
    for (const char c : data) {
        if (c == ',' || c == ';' || c == '\t')
            return c;
        if (c == '\r' || c == '\n')
            break;
    }
    return ',';
}

std::vector<Record> parse(std::string_view data, std::vector<Problem>& problems, char separator) {
    return Parser(data, problems, separator).run();
}

} // namespace edt::translate::csv
