#include "editor/rtf/RtfKeptHeader.h"

#include "editor/rtf/RtfKept.h"
#include "editor/rtf/RtfOwnProperties.h"

#include <QTextDocument>
#include <QVariant>
#include <algorithm>

namespace qv::editor {

void RtfKeptHeader::addGroup(const QByteArray& group) {
    entries_.push_back(group);
    lastIsWords_ = false;
    anyGroup_ = true;
}

void RtfKeptHeader::addWord(const QByteArray& word, bool hasParam, int param) {
    if (!lastIsWords_ || entries_.isEmpty())
        entries_.push_back(QByteArray());
    entries_.last() += '\\' + word;
    if (hasParam)
        entries_.last() += QByteArray::number(param);
    lastIsWords_ = true;
}

void RtfKeptHeader::store(QTextDocument& document, const QMap<QString, int>& fontNumbers,
                          const QMap<QString, int>& codePages, const QList<QColor>& colors, int defaultFont) const {
    for (const char* name : {RtfKept::kDocumentGroups, RtfOwn::kFontTable, RtfOwn::kFontNumbers,
                             RtfOwn::kFontCodePages, RtfOwn::kColorTable, RtfOwn::kColors, RtfOwn::kDefaultFont})
        document.setProperty(name, QVariant());
    if (!anyGroup_)
        return;
    document.setProperty(RtfKept::kDocumentGroups, QVariant::fromValue(entries_));
    if (!fontTable_.isEmpty()) {
        QVariantMap numbers, pages;
        for (auto it = fontNumbers.begin(); it != fontNumbers.end(); ++it)
            numbers.insert(it.key(), it.value());
        for (auto it = codePages.begin(); it != codePages.end(); ++it)
            pages.insert(it.key(), it.value());
        document.setProperty(RtfOwn::kFontTable, fontTable_);
        document.setProperty(RtfOwn::kFontNumbers, numbers);
        document.setProperty(RtfOwn::kFontCodePages, pages);
        document.setProperty(RtfOwn::kDefaultFont, std::max(0, defaultFont));
    }
    if (!colorTable_.isEmpty()) {
        QVariantList list;
        for (const QColor& c : colors)
            list << c;
        document.setProperty(RtfOwn::kColorTable, colorTable_);
        document.setProperty(RtfOwn::kColors, list);
    }
}

} // namespace qv::editor
