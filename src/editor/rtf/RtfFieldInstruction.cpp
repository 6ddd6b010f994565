#include "editor/rtf/RtfFieldInstruction.h"

#include <QRegularExpression>
#include <cctype>

namespace qv::editor {

QString RtfFieldInstruction::Text(const QByteArray& group) {
    QString out;
    const qsizetype n = group.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = group[i];
        if (c == '{' || c == '}' || c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            out += QChar(static_cast<unsigned char>(c));
            continue;
        }
        if (++i >= n)
            break;
        const char d = group[i];
        if (d == '\'' && i + 2 < n) {
            out += QChar(group.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else if (d == '*') {
            continue; // marks the destination, says nothing
        } else if (!std::isalpha(static_cast<unsigned char>(d))) {
            out += QChar(static_cast<unsigned char>(d)); // \\ \{ \} and the like
        } else {
            const qsizetype start = i;
            while (i < n && std::isalpha(static_cast<unsigned char>(group[i])))
                ++i;
            const QByteArray word = group.mid(start, i - start);
            qsizetype digits = i;
            if (digits < n && group[digits] == '-')
                ++digits;
            while (digits < n && std::isdigit(static_cast<unsigned char>(group[digits])))
                ++digits;
            if (word == "u")
                out += QChar(static_cast<char16_t>(group.mid(i, digits - i).toInt()));
            i = digits;
            if (i < n && group[i] != ' ')
                --i; // the delimiter is the next token
        }
    }
    return out;
}

QString RtfFieldInstruction::Hyperlink(const QByteArray& group) {
    static const QRegularExpression link(QStringLiteral("^\\s*HYPERLINK\\s+(?:\"([^\"]*)\"|(\\S+))?"
                                                        "(?:.*\\\\l\\s+\"([^\"]*)\")?"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = link.match(Text(group));
    if (!m.hasMatch())
        return {};
    QString url = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
    if (!m.captured(3).isEmpty())
        url += QLatin1Char('#') + m.captured(3);
    return url;
}

QByteArray RtfFieldInstruction::ForHyperlink(const QString& href) {
    QByteArray out = "{\\*\\fldinst HYPERLINK \"";
    for (const QChar ch : href) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}')
            out += '\\' + QByteArray(1, char(u));
        else if (u >= 0x20 && u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
    }
    return out + "\"}";
}

} // namespace qv::editor
