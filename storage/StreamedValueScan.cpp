#include "storage/StreamedValueScan.h"

#include <string>
#include <vector>

// The scan follows the settings reader step by step: the text is cut into
// lines, a line with an "=" holds a value, and the value is unescaped into
// one text or the items of a comma list. Only what starts a value or an item
// is looked at, so that nothing the program writes (it writes a leading "@"
// as "@@", and no byte above 0x7F) is ever taken for such a value.

namespace {

enum : unsigned { Space = 1, Special = 2 };

unsigned traits(char c)
{
    switch (c) {
    case ' ': case '\t': return Space;
    case '\n': case '\r': return Space | Special;
    case '"': case ';': case '=': case '\\': return Special;
    default: return 0;
    }
}

struct Line
{
    int start = 0;
    int length = 0;
    int equals = -1; // the first "=" outside quotes, or -1
};

// The next line from `pos`. Quoted and escaped line ends continue a line; a
// ";" at its start makes a comment of it, an unquoted one ends it. False at
// the end of the text.
bool nextLine(const QByteArray& data, int& pos, Line& line)
{
    const int n = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < n && (traits(data.at(line.start)) & Space))
        ++line.start;
    int i = line.start;
    while (i < n) {
        char ch = data.at(i);
        while (!(traits(ch) & Special)) {
            if (++i == n)
                goto done;
            ch = data.at(i);
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < n) {
                const char escaped = data.at(i++);
                if (i < n) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == line.start + 1) {
                while (i < n && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                while (i < n && (traits(data.at(i)) & Space))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    line.length = i - line.start;
    return line.length > 0;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// The value in [from, to) unescaped: one text, or the items of a list.
// Quotes are dropped, unquoted commas separate items, blanks before an item
// and after a closing quote are skipped, and a numeric escape keeps the low
// 16 bits of its value. Bytes above 0x7F are left out: whatever the text
// codec makes of them is never ASCII, at most nothing (a byte order mark).
std::vector<std::u16string> valueItems(const QByteArray& d, int from, int to)
{
    std::vector<std::u16string> items(1);
    bool inQuotes = false;
    int i = from;
    const auto skipBlanks = [&] {
        while (i < to && (d.at(i) == ' ' || d.at(i) == '\t'))
            ++i;
    };
    skipBlanks();
    while (i < to) {
        const char c = d.at(i++);
        std::u16string& item = items.back();
        if (c == '"') {
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            items.emplace_back();
            skipBlanks();
        } else if (c != '\\') {
            if (uchar(c) <= 0x7F)
                item.push_back(char16_t(uchar(c)));
        } else if (i < to) {
            const char e = d.at(i++);
            switch (e) {
            case 'a': item.push_back(u'\a'); break;
            case 'b': item.push_back(u'\b'); break;
            case 'f': item.push_back(u'\f'); break;
            case 'n': item.push_back(u'\n'); break;
            case 'r': item.push_back(u'\r'); break;
            case 't': item.push_back(u'\t'); break;
            case 'v': item.push_back(u'\v'); break;
            case '"': case '?': case '\'': case '\\': item.push_back(char16_t(e)); break;
            case 'x':
                if (i < to && hexDigit(d.at(i)) >= 0) {
                    unsigned value = 0;
                    while (i < to && hexDigit(d.at(i)) >= 0)
                        value = ((value << 4) | unsigned(hexDigit(d.at(i++)))) & 0xFFFF;
                    item.push_back(char16_t(value));
                }
                break; // "\x" without digits stands for nothing
            case '\n': case '\r':
                // An escaped line end, CR LF and LF CR taken as one.
                if (i < to && (d.at(i) == '\n' || d.at(i) == '\r') && d.at(i) != e)
                    ++i;
                break;
            default:
                if (isOctal(e)) {
                    unsigned value = unsigned(e - '0');
                    while (i < to && isOctal(d.at(i)))
                        value = ((value << 3) | unsigned(d.at(i++) - '0')) & 0xFFFF;
                    item.push_back(char16_t(value));
                }
                // Any other escaped character stands for nothing.
                break;
            }
        }
    }
    return items;
}

bool startsWith(const std::u16string& s, const char* marker)
{
    size_t k = 0;
    for (; marker[k]; ++k) {
        if (k >= s.size() || s[k] != char16_t(marker[k]))
            return false;
    }
    return true;
}

}

bool StreamedValueScan::found(const QByteArray& text)
{
    int pos = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    Line line;
    while (nextLine(text, pos, line)) {
        if (line.equals < 0 || text.at(line.start) == '[')
            continue;
        for (const std::u16string& item : valueItems(text, line.equals + 1, line.start + line.length)) {
            if (startsWith(item, "@Variant(") || startsWith(item, "@DateTime("))
                return true;
        }
    }
    return false;
}
