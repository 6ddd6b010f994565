#pragma once

#include <QByteArray>
#include <QString>

namespace qv::editor {

/// What the reader does with a destination it does not show, and with the document's
/// own settings: which groups belong to the document whatever their place, which stay
/// where they are in the text, which are only a look and can go, and their labels.
class RtfDestinations {
public:
    enum class Place {
        Document, ///< the document's own (stylesheet, list tables, information...)
        Inline,   ///< at its place in the text (footnote, bookmark, drawing...)
        Either,   ///< the document's before the first text, else at its place (header...)
        Dropped,  ///< a look the reader has already taken in, or a generated text
        Unknown,  ///< not a destination the reader knows
    };

    static Place placeOf(const QByteArray& word);

    /// Groups that only prepare the next kept group (an annotation's author, its id):
    /// they go with it into one object.
    static bool isPreamble(const QByteArray& word);

    /// Document and section settings, kept when met before the first text.
    static bool isDocumentWord(const QByteArray& word);

    /// The placeholder's label for a kept group that begins with `word`.
    static QString labelOf(const QByteArray& word);
};

} // namespace qv::editor
