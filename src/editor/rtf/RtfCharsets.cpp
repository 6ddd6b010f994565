#include "editor/rtf/RtfCharsets.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace qv::editor {

int RtfCharsets::CodePageOf(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 42;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 238:
        return 1250;
    default:
        return 1252;
    }
}

char16_t RtfCharsets::FromWindows1252(unsigned char b) {
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b);
}

char16_t RtfCharsets::Decode(unsigned char b, int codePage) {
    if (codePage == 1252 || b < 0x80)
        return FromWindows1252(b);
    const QByteArray name = "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return FromWindows1252(b);
    const QString s = decoder(QByteArray(1, static_cast<char>(b)));
    return s.isEmpty() ? FromWindows1252(b) : s.at(0).unicode();
}

} // namespace qv::editor
