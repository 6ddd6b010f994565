#include "editor/rtf/RtfDestinations.h"

#include <QHash>

#include <algorithm>
#include <string_view>

namespace qv::editor {
namespace {

bool in(const QByteArray& word, std::initializer_list<std::string_view> words) {
    const std::string_view w(word.constData(), size_t(word.size()));
    return std::find(words.begin(), words.end(), w) != words.end();
}

bool startsWithAny(const QByteArray& word, std::initializer_list<const char*> prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return word.startsWith(p); });
}

} // namespace

RtfDestinations::Place RtfDestinations::placeOf(const QByteArray& w) {
    // Every control word of the text asks, and most are not destinations: one look-up.
    static const QHash<QByteArray, Place> places = [] {
        QHash<QByteArray, Place> map;
        const auto add = [&map](Place place, std::initializer_list<const char*> words) {
            for (const char* word : words)
                map.insert(QByteArray(word), place);
        };
        add(Place::Document,
            {"stylesheet", "listtable", "listoverridetable", "info", "pgdsctbl", "revtbl", "rsidtbl", "generator",
             "xmlnstbl", "latentstyles", "themedata", "colorschememapping", "datastore", "filetbl", "userprops",
             "docvar", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "mmathPr", "pgptbl",
             "listpicture", "protusertbl", "wgrffmtfilter", "fchars", "lchars", "defchp", "defpap", "template",
             "nextfile", "pgdscno", "fontemb", "fontfile", "password", "passwordhash", "background", "ftnalt",
             "aftnalt"});
        add(Place::Inline, {"footnote", "annotation", "atnid", "atnauthor", "atndate", "atnicn", "atnparent",
                            "atntime", "atnref", "bkmkstart", "bkmkend", "shp", "shpgrp", "object", "xe", "tc",
                            "txe", "rxe", "do", "mmathPara", "mmath", "formfield", "protstart", "protend"});
        add(Place::Either, {"header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf"});
        // Looks already read from the words beside them, and texts generated from them.
        add(Place::Dropped, {"updnprop", "oldcprops", "oldpprops", "oldsprops", "oldtprops", "pntext", "panose",
                             "falt", "blipuid", "picprop", "nesttableprops", "brdrart", "fldtype"});
        return map;
    }();
    return places.value(w, Place::Unknown);
}

bool RtfDestinations::isPreamble(const QByteArray& w) {
    return in(w, {"atnid", "atnauthor", "atndate", "atnicn", "atnparent", "atntime"});
}

bool RtfDestinations::isDocumentWord(const QByteArray& w) {
    // ltrdoc, aenddoc, rtlsect, pgwsxn, marglsxn...; a section break is not a setting.
    if (w.endsWith("sxn") || w.endsWith("doc") || (w.endsWith("sect") && w != "sect"))
        return true;
    if (startsWithAny(w, {"paper", "marg", "gutter", "deftab", "view", "sbk", "ftn", "aftn", "sftn", "saftn",
                          "pgn", "dgh", "dgv", "dgsnap", "dgmargin", "stsh", "deflang", "adeflang", "cols",
                          "linex", "linemod", "linestart", "linerestart", "lnbrkrule", "headery", "footery",
                          "pgbrdr"}))
        return true;
    return in(w, {"sectd", "titlepg", "formshade", "landscape", "facingp", "widowctrl", "fet", "endnhere",
                  "htmautsp", "nouicompat", "noqfpromote", "jexpand", "splytwnine", "lytexcttp", "adeff",
                  "sectunlocked", "allprot", "annotprot", "formprot", "readprot", "revprot", "revisions",
                  "psz", "twoonone", "truncex", "nolead", "msmcap", "wraptrsp", "brkfrm", "expshrtn",
                  "dntblnsbdb", "noxlattoyen", "bdrrlswsix", "nospaceforul", "rempersonalinfo", "themelang",
                  "themelangfe", "themelangcs", "hyphauto", "hyphhotz", "hyphconsec", "hyphcaps", "vertalt",
                  "vertalc", "vertalb", "vertalj", "endnotes", "enddoc"});
}

QString RtfDestinations::labelOf(const QByteArray& w) {
    if (w.startsWith("header"))
        return QStringLiteral("Header");
    if (w.startsWith("footer"))
        return QStringLiteral("Footer");
    if (w == "footnote")
        return QStringLiteral("Footnote");
    if (w == "annotation" || w.startsWith("atn"))
        return QStringLiteral("Comment");
    if (w.startsWith("bkmk"))
        return QStringLiteral("Bookmark");
    if (w == "shp" || w == "shpgrp" || w == "do")
        return QStringLiteral("Drawing");
    if (w == "object")
        return QStringLiteral("Object");
    if (w == "field")
        return QStringLiteral("Field");
    if (w == "xe" || w == "rxe" || w == "txe")
        return QStringLiteral("Index entry");
    if (w == "tc")
        return QStringLiteral("Contents entry");
    if (w.startsWith("mmath"))
        return QStringLiteral("Formula");
    return QStringLiteral("Kept");
}

} // namespace qv::editor
