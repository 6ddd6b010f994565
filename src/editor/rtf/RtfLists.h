#pragma once

#include <QByteArray>
#include <QChar>
#include <QMap>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QTextFormat>
#include <QTextList>
#include <QVector>

class QTextCursor;
class QTextDocument;

namespace qv::editor {

/// Reads RTF lists: the list table and list override table (read whole, kept as they were
/// for the writer), the paragraphs' list words (\ls, \ilvl, and the older {\*\pn ...}),
/// and makes each such paragraph an item of a QTextList with the level's bullet or number
/// style, indent level and first number. The items' generated text ({\listtext},
/// {\pntext}) is skipped.
class RtfLists {
public:
    enum class Word { NotMine, Taken, SkipGroup };

    /// On a QTextListFormat: the list's RTF override number (\ls), its level (\ilvl) and
    /// the level's first number (Qt 6.4 cannot start a list elsewhere than at 1).
    static constexpr int kOverrideProperty = QTextFormat::UserProperty + 41;
    static constexpr int kLevelProperty = QTextFormat::UserProperty + 42;
    static constexpr int kStartProperty = QTextFormat::UserProperty + 43;
    /// Document properties: the list table and the list override table as read (QByteArray).
    static constexpr const char* kListTable = "qvRtfListTable";
    static constexpr const char* kOverrideTable = "qvRtfListOverrideTable";

    /// Lists and levels of one file beyond these are not read.
    static constexpr int kMaxLists = 4096;
    static constexpr int kMaxLevel = 8;
    /// Items of one QTextList: a longer list goes on as another list of the same look,
    /// since Qt renumbers all of a list's items for each one added.
    static constexpr int kMaxItems = 1000;

    struct Level {
        int style = 0; // QTextListFormat::Style
        QString prefix, suffix;
        int start = 1;
        int left = 0, first = 0; // \li and \fi of the level, twips
    };
    struct Definitions {
        QMap<int, QVector<Level>> lists;     // by \listid
        QMap<int, int> overrides;            // \ls -> \listid
        QMap<QPair<int, int>, int> restarts; // (\ls, level) -> first number
        /// The level's look; a disc bullet for what the tables do not say.
        Level level(int ls, int level) const;
    };
    /// What a list table and a list override table (each a whole group) say.
    static Definitions parse(const QByteArray& listTable, const QByteArray& overrideTable);

    explicit RtfLists(QTextCursor& cursor);

    /// `in` is the RTF and `pos` the place after the word; a list table group is read up to
    /// its closing brace, where `pos` is left.
    Word word(const QByteArray& word, bool hasParam, int param, bool ignorable, const QByteArray& in,
              qsizetype& pos);
    void openGroup();
    void closeGroup();
    /// After the reader set a paragraph's format: a list paragraph joins its list.
    void place();
    /// Leaves the tables read in the document for the writer.
    void finish(QTextDocument& document);

private:
    struct Para {
        int ls = 0, level = 0;
        bool indented = false; // the paragraph has \li or \fi of its own
        int pnStyle = 0, pnLevel = -1; // from {\*\pn ...}, when no \ls
        QString pnPrefix, pnSuffix;
        int pnStart = 1;
    };

    QTextCursor& cursor_;
    Para para_;
    QVector<Para> saved_;
    QByteArray listTable_, overrideTable_;
    Definitions defs_;
    // A list whose last item left it (a paragraph formatted anew) is gone: QPointer.
    QMap<QPair<int, int>, QPointer<QTextList>> made_;
};

} // namespace qv::editor
