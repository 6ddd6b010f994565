#pragma once

#include <QtGlobal>

namespace qv::editor {

/// The code pages of RTF text bytes: a font's \fcharset, and the byte's character.
class RtfCharsets {
public:
    /// The Windows code page of a \fcharset (42 for the symbol set: bytes as they are).
    static int CodePageOf(int charset);
    /// Windows-1252 bytes 0x80-0x9F; the rest of the page is Latin-1.
    static char16_t FromWindows1252(unsigned char b);
    /// The character of `b` in `codePage`, Windows-1252 where Qt has no such page.
    static char16_t Decode(unsigned char b, int codePage);
};

} // namespace qv::editor
