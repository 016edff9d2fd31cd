#include "FormData.h"

#include "InputFiles.h"

#include <array>
#include <sstream>
#include <vector>

namespace bench {

namespace {

// Characters of the generated words that travel as codes.
const char* codeFor(char c)
{
    switch (c) {
    case ',': return "%2C";
    case ':': return "%3A";
    case '/': return "%2F";
    case '\'': return "%27";
    case '!': return "%21";
    case '"': return "%22";
    case '(': return "%28";
    case ')': return "%29";
    case ';': return "%3B";
    default: return nullptr;
    }
}

void appendEncoded(std::string& out, const std::string& word)
{
    for (const char c : word) {
        if (const char* code = codeFor(c))
            out += code;
        else
            out += c;
    }
}

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

struct CodeTable {
    std::array<char16_t, 256> decoded{};  // 0: not a code of the table
    std::array<bool, 256> late{};         // decoded after %25, so a "%" it yields can join them
};

const CodeTable& codeTable()
{
    static const CodeTable table = [] {
        CodeTable t;
        const struct { int code; char16_t c; bool late; } codes[] = {
            {0x2C, ',', false}, {0x2F, '/', false},  {0x27, '\'', false}, {0x21, '!', false},
            {0x3F, '?', false}, {0x24, '$', false},  {0x3A, ':', false},  {0x22, '"', false},
            {0x23, '#', false}, {0x25, '%', false},  {0x5E, '^', true},   {0x5C, '\\', true},
            {0x26, '&', true},  {0x3D, '=', true},   {0x2B, '+', true},   {0x7B, '{', true},
            {0x28, '(', true},  {0x29, ')', true},   {0x3B, ';', true},   {0x7E, '~', true},
        };
        for (const auto& code : codes) {
            t.decoded[size_t(code.code)] = code.c;
            t.late[size_t(code.code)] = code.late;
        }
        return t;
    }();
    return table;
}

// The code at text[i] ("%" and two hex digits), or -1.
int codeAt(QStringView text, qsizetype i)
{
    if (i + 2 >= text.size() || text[i] != u'%')
        return -1;
    const int high = hexValue(text[i + 1]);
    const int low = hexValue(text[i + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

std::string nextFormDataLine(std::uint64_t& state, std::uint64_t lineNumber)
{
    const std::vector<std::string> all = words(nextInputLine(state));
    std::string line = "q=";
    const size_t half = all.size() / 2;
    for (size_t i = 0; i < all.size(); ++i) {
        if (i == half)
            line += "&r=";
        else if (i > 0)
            line += '+';
        appendEncoded(line, all[i]);
    }
    if (lineNumber % 8 == 0)
        line += "&url=http%3A%2F%2Fexample.org%2Fdocs%2Fpage%2C" + std::to_string(lineNumber);
    return line;
}

void generateFormData(int sizeMB, const std::function<void(const std::string&)>& chunk)
{
    const std::uint64_t target = std::uint64_t(sizeMB) * BytesPerMB;
    std::uint64_t state = 0xf0f0da7a;
    std::uint64_t written = 0;
    std::string buffer;
    for (std::uint64_t number = 0;; ++number) {
        std::string line = nextFormDataLine(state, number);
        line += '\n';
        if (written + buffer.size() + line.size() > target)
            break;
        buffer += line;
        if (buffer.size() >= (1u << 20)) {
            written += buffer.size();
            chunk(buffer);
            buffer.clear();
        }
    }
    if (!buffer.empty())
        chunk(buffer);
}

std::string formDataSample(int lines)
{
    std::uint64_t state = 0xf0f0da7a;
    std::string text;
    for (int number = 0; number < lines; ++number)
        text += nextFormDataLine(state, std::uint64_t(number)) + '\n';
    return text;
}

QString decodeFormData(QStringView text)
{
    const CodeTable& table = codeTable();
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&') {
            out += QLatin1String(" \n");
            continue;
        }
        if (c == u'+') {
            out += u' ';
            continue;
        }
        const int code = codeAt(text, i);
        if (code == 0x0D && codeAt(text, i + 3) == 0x0A) {
            out += QLatin1String("\r\n");
            i += 5;
            continue;
        }
        if (code < 0 || table.decoded[size_t(code)] == 0) {
            out += c;
            continue;
        }
        i += 2;
        if (code == 0x25) {
            // The "%" joins the next two characters when they make a later code.
            const int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
            const int joined = high < 0 || low < 0 ? -1 : high * 16 + low;
            if (joined >= 0 && table.late[size_t(joined)]) {
                out += table.decoded[size_t(joined)];
                i += 2;
                continue;
            }
        }
        out += table.decoded[size_t(code)];
    }
    return out;
}

}  // namespace bench
