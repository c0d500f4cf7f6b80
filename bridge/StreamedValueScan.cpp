#include "bridge/StreamedValueScan.h"

#include <vector>

namespace {

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

// The characters the settings reader makes of the bytes, quotes dropped.
// A numeric escape keeps the low 16 bits of its value, as the reader's
// characters do. Bytes above 0x7F are dropped: whatever the text codec
// makes of them is never ASCII, at most nothing (a byte order mark).
std::vector<char16_t> decode(const QByteArray& text)
{
    std::vector<char16_t> out;
    out.reserve(size_t(text.size()));
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const char c = text.at(i++);
        if (c == '"' || uchar(c) > 0x7F)
            continue;
        if (c != '\\') {
            out.push_back(char16_t(uchar(c)));
            continue;
        }
        if (i >= n)
            break;
        const char e = text.at(i++);
        switch (e) {
        case 'a': out.push_back(u'\a'); break;
        case 'b': out.push_back(u'\b'); break;
        case 'f': out.push_back(u'\f'); break;
        case 'n': out.push_back(u'\n'); break;
        case 'r': out.push_back(u'\r'); break;
        case 't': out.push_back(u'\t'); break;
        case 'v': out.push_back(u'\v'); break;
        case '"': case '?': case '\'': case '\\': out.push_back(char16_t(e)); break;
        case 'x': {
            if (i >= n || hexDigit(text.at(i)) < 0)
                break; // "\x" without digits stands for nothing
            unsigned value = 0;
            while (i < n && hexDigit(text.at(i)) >= 0)
                value = ((value << 4) | unsigned(hexDigit(text.at(i++)))) & 0xFFFF;
            out.push_back(char16_t(value));
            break;
        }
        case '\n': case '\r':
            // An escaped line end, CR LF and LF CR taken as one.
            if (i < n && (text.at(i) == '\n' || text.at(i) == '\r') && text.at(i) != e)
                ++i;
            break;
        default:
            if (isOctal(e)) {
                unsigned value = unsigned(e - '0');
                while (i < n && isOctal(text.at(i)))
                    value = ((value << 3) | unsigned(text.at(i++) - '0')) & 0xFFFF;
                out.push_back(char16_t(value));
            }
            // Any other escaped character stands for nothing.
            break;
        }
    }
    return out;
}

bool startsAt(const std::vector<char16_t>& s, size_t at, const char* marker)
{
    for (size_t k = 0; marker[k]; ++k) {
        if (at + k >= s.size() || s[at + k] != char16_t(marker[k]))
            return false;
    }
    return true;
}

}

bool StreamedValueScan::found(const QByteArray& text)
{
    if (!text.contains('@') && !text.contains('\\'))
        return false;
    const std::vector<char16_t> s = decode(text);
    for (size_t at = 0; at < s.size(); ++at) {
        if (s[at] != u'@')
            continue;
        // "@@" at the start of a value is the reader's escape for a text
        // that begins with "@"; the text is read as text.
        if (at > 0 && s[at - 1] == u'@')
            continue;
        if (startsAt(s, at, "@Variant(") || startsAt(s, at, "@DateTime("))
            return true;
    }
    return false;
}
