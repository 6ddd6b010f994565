#pragma once

#include <QByteArray>

namespace qv::editor {

/// The lexical pieces of RTF the reader needs read the same everywhere: a control word's
/// letters and parameter, and the two hex digits of \'hh. Positions are the caller's, so
/// that a destination's bytes can be taken from the input as they are.
class RtfTokenizer {
public:
    struct Word {
        qsizetype start = 0;  ///< its first letter
        qsizetype length = 0; ///< letters, however many
        bool hasParam = false;
        int param = 0; ///< clamped to what an int holds
    };

    /// The control word whose first letter is at `pos`; `pos` is left after its
    /// delimiting space, if any.
    static Word ReadWord(const QByteArray& in, qsizetype& pos);
    /// The byte of the two hex digits at `pos` (-1 when they are not two hex digits);
    /// `pos` is left after the hex digits there are.
    static int ReadHexByte(const QByteArray& in, qsizetype& pos);
    /// Whether every group `rtf` opens it closes, and no other, as the reader counts them
    /// (an escaped brace and \bin data are no group's): kept bytes written back must
    /// leave the file whole.
    static bool Balanced(const QByteArray& rtf);
};

} // namespace qv::editor
