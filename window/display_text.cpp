#include "window/display_text.h"

#include <QList>

#include "record/charset.h"

namespace edt {
namespace {

bool isBreak(char32_t c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

// Appends the text of `bytes` with CR LF as `crLf` and lone CR or LF as their marks.
void appendText(QString& out, std::string_view bytes, QStringView crLf) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += crLf;
            ++i;
        } else if (b == '\r') {
            out += QChar(kLoneCrMark);
        } else if (b == '\n') {
            out += QChar(kLoneLfMark);
        } else {
            const char32_t cp = charset::toUnicode(b);
            out += QChar(static_cast<char16_t>(cp)); // Windows-1252 lies in the BMP
        }
    }
}

} // namespace

QString rowText(const EntryLine& line) {
    QString row;
    row.reserve(static_cast<qsizetype>(line.text.size()) + 12);
    row += QLatin1Char('[');
    row += QString::fromStdString(formatKey(line.key));
    row += QLatin1String("] ");
    const QChar mark(kLineBreakMark);
    appendText(row, line.text, QStringView(&mark, 1));
    return row;
}

QString toEditText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    appendText(text, bytes, u"\n");
    return text;
}

EditTextBytes fromEditText(const QString& raw) {
    EditTextBytes result;
    result.bytes.reserve(static_cast<std::size_t>(raw.size()));
    const QList<uint> codePoints = raw.toUcs4();
    for (const uint cp : codePoints) {
        if (isBreak(cp)) {
            result.bytes += "\r\n";
        } else if (cp == kLoneCrMark) {
            result.bytes += '\r';
        } else if (cp == kLoneLfMark) {
            result.bytes += '\n';
        } else if (const auto byte = charset::fromUnicode(cp)) {
            result.bytes += static_cast<char>(*byte);
        } else {
            result.error = QString::fromStdString(
                "The character " + charset::describeCodePoint(cp) +
                " has no place in the Windows-1252 character set of EDT files.");
            result.bytes.clear();
            return result;
        }
    }
    result.ok = true;
    return result;
}

int editTextLength(const QString& raw) {
    int count = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c.isHighSurrogate() && i + 1 < raw.size() && raw.at(i + 1).isLowSurrogate())
            ++i; // one character outside the BMP
        count += isBreak(c.unicode()) ? 2 : 1;
    }
    return count;
}

} // namespace edt
