#include "editor/rtf/RtfGroupState.h"

#include <QVariant>
#include <algorithm>

namespace qv::editor {
namespace {

int leaderOf(const QByteArray& w) {
    if (w == "tldot")
        return RtfOwn::Dots;
    if (w == "tlhyph")
        return RtfOwn::Hyphens;
    if (w == "tlul")
        return RtfOwn::Underline;
    if (w == "tlth")
        return RtfOwn::ThickLine;
    if (w == "tleq")
        return RtfOwn::Equals;
    if (w == "tlmdot")
        return RtfOwn::MiddleDots;
    return -1;
}

} // namespace

bool RtfGroupState::characterWord(const QByteArray& w, bool hasParam, int p, int defaultFont) {
    const int on = hasParam ? p : 1;
    if (w == "plain") {
        const int resultOf = ch.field; // a field's result stays one after \plain
        ch = Character{};
        ch.field = resultOf;
        if (defaultFont >= 0)
            ch.font = defaultFont;
    } else if (w == "b") {
        ch.bold = on != 0;
    } else if (w == "i") {
        ch.italic = on != 0;
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" || w == "ulth" ||
               w == "ulwave") {
        ch.underline = on != 0;
    } else if (w == "ulnone") {
        ch.underline = false;
    } else if (w == "strike") {
        ch.strike = on != 0;
    } else if (w == "f") {
        ch.font = p;
    } else if (w == "fs") {
        ch.size = hasParam && p > 0 && p <= 3276 ? p : 24;
    } else if (w == "cf") {
        ch.color = std::max(0, p);
    } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
        ch.highlight = std::max(0, p);
    } else if (w == "super") {
        ch.vertical = on ? 1 : 0;
    } else if (w == "sub") {
        ch.vertical = on ? 2 : 0;
    } else if (w == "nosupersub") {
        ch.vertical = 0;
        ch.offset = 0;
    } else if (w == "up") {
        ch.offset = std::clamp(hasParam ? p : 6, -3276, 3276);
    } else if (w == "dn") {
        ch.offset = -std::clamp(hasParam ? p : 6, -3276, 3276);
    } else if (w == "scaps") {
        ch.caps = on ? QFont::SmallCaps : QFont::MixedCase;
    } else if (w == "caps") {
        ch.caps = on ? QFont::AllUppercase : QFont::MixedCase;
    } else {
        return false;
    }
    return true;
}

bool RtfGroupState::paragraphWord(const QByteArray& w, bool hasParam, int p) {
    auto& pa = para;
    const int on = hasParam ? p : 1;
    if (w == "pard") {
        pa = Paragraph{};
    } else if (w == "ql") {
        pa.align = Qt::AlignLeft;
    } else if (w == "qc") {
        pa.align = Qt::AlignHCenter;
    } else if (w == "qr") {
        pa.align = Qt::AlignRight;
    } else if (w == "qj") {
        pa.align = Qt::AlignJustify;
    } else if (w == "li") {
        pa.left = p;
    } else if (w == "ri") {
        pa.right = p;
    } else if (w == "fi") {
        pa.first = p;
    } else if (w == "sb") {
        pa.before = p;
    } else if (w == "sa") {
        pa.after = p;
    } else if (w == "sl") {
        pa.lineSpacing = p;
    } else if (w == "slmult") {
        pa.lineMultiple = on != 0;
    } else if (w == "pagebb") {
        pa.pageBreakBefore = on != 0;
    } else if (w == "keep") {
        pa.keepTogether = on != 0;
    } else if (w == "keepn") {
        pa.keepWithNext = on != 0;
    } else if (w == "tqr") {
        pa.nextTab.type = QTextOption::RightTab;
    } else if (w == "tqc") {
        pa.nextTab.type = QTextOption::CenterTab;
    } else if (w == "tqdec") {
        pa.nextTab.type = QTextOption::DelimiterTab;
    } else if (const int leader = leaderOf(w); leader >= 0) {
        pa.nextTab.leader = leader;
    } else if (w == "tx") {
        if (pa.tabs.size() < 256) {
            pa.nextTab.position = std::clamp(p, 0, 31680);
            pa.tabs.push_back(pa.nextTab);
        }
        pa.nextTab = Tab{};
    } else {
        return false;
    }
    return true;
}

QTextBlockFormat RtfGroupState::Paragraph::blockFormat(bool pageBreak) const {
    QTextBlockFormat f;
    f.setAlignment(align);
    f.setLeftMargin(left / 20.0);
    f.setRightMargin(right / 20.0);
    f.setTextIndent(first / 20.0);
    f.setTopMargin(before / 20.0);
    f.setBottomMargin(after / 20.0);
    if (lineSpacing > 0 && lineMultiple)
        f.setLineHeight(lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (lineSpacing > 0)
        f.setLineHeight(lineSpacing / 20.0, QTextBlockFormat::MinimumHeight);
    if (pageBreak || pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (pageBreakBefore)
        f.setProperty(RtfOwn::kPageBreakBefore, true);
    if (keepTogether)
        f.setNonBreakableLines(true);
    if (keepWithNext)
        f.setProperty(RtfOwn::kKeepWithNext, true);
    if (!tabs.isEmpty()) {
        QList<QTextOption::Tab> stops;
        QVariantList leaders;
        bool anyLeader = false;
        for (const Tab& t : tabs) {
            stops << QTextOption::Tab(t.position / 20.0, t.type,
                                      t.type == QTextOption::DelimiterTab ? QChar('.') : QChar());
            leaders << t.leader;
            anyLeader = anyLeader || t.leader != RtfOwn::NoLeader;
        }
        f.setTabPositions(stops);
        if (anyLeader) // Qt draws none: kept for the writer
            f.setProperty(RtfOwn::kTabLeaders, leaders);
    }
    return f;
}

} // namespace qv::editor
