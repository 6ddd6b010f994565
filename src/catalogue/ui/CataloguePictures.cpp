#include "catalogue/ui/CataloguePictures.h"

#include "catalogue/CategoryNames.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace qv::catalogue {
namespace {

// One calm palette for every picture.
const QColor kInk(0x1F, 0x2A, 0x3A);
const QColor kNavy(0x24, 0x47, 0x6B);
const QColor kPaper(0xFB, 0xF8, 0xF1);
const QColor kSand(0xEC, 0xE4, 0xD3);
const QColor kAccent(0x2E, 0x7D, 0x6F);

const QColor kCategoryColours[11] = {
    QColor(0x2F, 0x5D, 0x8A), QColor(0x6B, 0x5B, 0x95), QColor(0x8A, 0x6D, 0x2F), QColor(0x4F, 0x6D, 0x5A),
    QColor(0x2E, 0x7D, 0x6F), QColor(0x9A, 0x5B, 0x3F), QColor(0x5A, 0x6F, 0x8F), QColor(0x8F, 0x4F, 0x6A),
    QColor(0x7A, 0x6A, 0x45), QColor(0x3E, 0x5F, 0x7F), QColor(0x6A, 0x6A, 0x6A),
};
const char* const kGlyphs[11] = {"F", "B", "Ed", "H", "$", "P", "I", "Ev", "T", "R", "S"};

QPixmap canvas(int w, int h, qreal scale) {
    QPixmap pm(QSize(w, h) * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    return pm;
}

QFont uiFont(qreal pixels, bool bold) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(qRound(pixels));
    f.setBold(bold);
    return f;
}

/// The glyph tile of a category: a coloured rounded square with its letter.
void drawTile(QPainter& p, const QRectF& r, int category) {
    p.setPen(Qt::NoPen);
    p.setBrush(kCategoryColours[category % 11]);
    p.drawRoundedRect(r, r.width() * 0.22, r.height() * 0.22);
    p.setPen(Qt::white);
    p.setFont(uiFont(r.height() * 0.62, true));
    p.drawText(r, Qt::AlignCenter, QString::fromUtf8(kGlyphs[category % 11]));
}

/// A button face: rounded, with a soft gradient; the look says the state.
void drawFace(QPainter& p, const QRectF& r, CataloguePictures::State state) {
    using State = CataloguePictures::State;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    QColor border = kNavy.lighter(130);
    switch (state) {
    case State::Up:
        g.setColorAt(0, kPaper);
        g.setColorAt(1, kSand);
        break;
    case State::Focused:
        g.setColorAt(0, kPaper);
        g.setColorAt(1, kSand);
        border = kAccent;
        break;
    case State::Down:
        g.setColorAt(0, kSand.darker(110));
        g.setColorAt(1, kSand);
        break;
    case State::Disabled:
        g.setColorAt(0, kNavy.lighter(115));
        g.setColorAt(1, kNavy);
        border = kNavy.darker(120);
        break;
    }
    p.setBrush(g);
    p.setPen(QPen(border, state == State::Focused ? 2.0 : 1.0));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
}

/// Where a button's label goes: right of its icon, a little inside the face.
QSizeF labelArea(int w, int h) {
    const qreal icon = h - 18;
    return QSizeF(w - icon - 22, h - 4);
}

/// A break is allowed after a slash ("Investments/Financial"), which word wrap alone would
/// keep whole and cut at the button's edge.
QString wrappable(QString label) {
    return label.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

} // namespace

QFont CataloguePictures::CategoryFont(int category) {
    return FittingFont(wrappable(CategoryName(category)), labelArea(kCategoryWidth, kCategoryHeight));
}

QFont CataloguePictures::FittingFont(const QString& label, const QSizeF& area) {
    // Long names wrap at their words; the font shrinks only as far as the wrapped name needs.
    constexpr qreal kLargest = 13;
    constexpr qreal kSmallest = 8;
    const int flags = Qt::AlignLeft | Qt::TextWordWrap;
    for (qreal px = kLargest; px > kSmallest; px -= 0.5) {
        const QFont f = uiFont(px, true);
        const QRectF need = QFontMetricsF(f).boundingRect(QRectF(QPointF(0, 0), area), flags, label);
        if (need.width() <= area.width() && need.height() <= area.height())
            return f;
    }
    return uiFont(kSmallest, true);
}

namespace {

QPixmap button(int w, int h, const QString& label, CataloguePictures::State state, qreal scale,
               const std::function<void(QPainter&, const QRectF&)>& drawIcon, int inset = 0) {
    QPixmap pm = canvas(w, h, scale);
    // The face may sit inside the picture when the button is smaller than its picture.
    w -= inset;
    h -= inset;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal shift = state == CataloguePictures::State::Down ? 1 : 0;
    drawFace(p, QRectF(0, 0, w, h), state);
    const qreal icon = h - 18;
    drawIcon(p, QRectF(10 + shift, (h - icon) / 2 + shift, icon, icon));
    p.setPen(state == CataloguePictures::State::Disabled ? QColor(Qt::white) : kInk);
    const QRectF textArea(QPointF(icon + 16 + shift, shift + 2), labelArea(w, h));
    const QString shown = wrappable(label);
    p.setFont(CataloguePictures::FittingFont(shown, textArea.size()));
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, shown);
    return pm;
}

void drawDocuments(QPainter& p, const QPointF& at, qreal scale) {
    for (int i = 2; i >= 0; --i) {
        const QRectF page(at.x() + i * 14 * scale, at.y() + i * 10 * scale, 110 * scale, 140 * scale);
        p.setPen(QPen(kNavy.lighter(150), 1));
        p.setBrush(i == 0 ? QColor(Qt::white) : kPaper);
        p.drawRect(page);
        if (i == 0) {
            p.setPen(QPen(kSand.darker(140), 2));
            for (int l = 0; l < 8; ++l)
                p.drawLine(QPointF(page.left() + 12 * scale, page.top() + (22 + l * 13) * scale),
                           QPointF(page.right() - (l % 3 == 2 ? 40 : 12) * scale,
                                   page.top() + (22 + l * 13) * scale));
            p.setPen(QPen(kAccent, 2));
            p.drawLine(QPointF(page.left() + 12 * scale, page.bottom() - 16 * scale),
                       QPointF(page.left() + 60 * scale, page.bottom() - 16 * scale));
        }
    }
}

} // namespace

QString CataloguePictures::CategoryName(int category) {
    return QString::fromLatin1(kCategoryNames[category % 11]);
}

QPixmap CataloguePictures::CategoryButton(int category, State state, qreal scale) {
    return button(kCategoryWidth, kCategoryHeight, CategoryName(category), state, scale,
                  [category](QPainter& p, const QRectF& r) { drawTile(p, r, category); });
}

QPixmap CataloguePictures::KeywordButton(State state, qreal scale) {
    return button(
        104, 40, QStringLiteral("Keyword"), state, scale,
        [state](QPainter& p, const QRectF& r) {
            const QColor c = state == State::Disabled ? QColor(Qt::white) : kNavy;
            p.setPen(QPen(c, 2.2));
            p.setBrush(Qt::NoBrush);
            const qreal d = r.width() * 0.62;
            p.drawEllipse(QRectF(r.left(), r.top(), d, d));
            p.drawLine(QPointF(r.left() + d * 0.9, r.top() + d * 0.9), r.bottomRight());
        },
        1);
}

QPixmap CataloguePictures::StartButton(bool select, State state, qreal scale) {
    return button(kCategoryWidth, kCategoryHeight,
                  select ? QStringLiteral("Choose a Form") : QStringLiteral("Open Saved"), state, scale,
                  [select](QPainter& p, const QRectF& r) {
                      p.setPen(Qt::NoPen);
                      p.setBrush(select ? kAccent : kNavy);
                      p.drawRoundedRect(r, 6, 6);
                      p.setPen(QPen(Qt::white, 2.2));
                      if (select) {
                          QPainterPath arrow;
                          arrow.moveTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.25);
                          arrow.lineTo(r.left() + r.width() * 0.7, r.center().y());
                          arrow.lineTo(r.left() + r.width() * 0.3, r.bottom() - r.height() * 0.25);
                          p.drawPath(arrow);
                      } else {
                          const QRectF f = r.adjusted(r.width() * 0.22, r.height() * 0.3, -r.width() * 0.22,
                                                      -r.height() * 0.25);
                          p.drawRect(f);
                          p.drawLine(f.topLeft(), QPointF(f.left() + f.width() * 0.4, f.top() - 3));
                      }
                  });
}

QPixmap CataloguePictures::Background(int picture, qreal scale) {
    const QSize size = picture == 159 ? QSize(580, 400) : picture == 182 ? QSize(426, 154) : QSize(580, 300);
    QPixmap pm = canvas(size.width(), size.height(), scale);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, kPaper);
    g.setColorAt(1, kSand);
    p.fillRect(QRect(QPoint(0, 0), size), g);
    // A band across the top carries the title.
    const int band = picture == 182 ? 54 : 64;
    p.fillRect(QRect(0, 0, size.width(), band), kNavy);
    p.fillRect(QRect(0, band, size.width(), 3), kAccent);
    p.setPen(Qt::white);
    if (picture == 129) {
        p.setFont(uiFont(24, true));
        p.drawText(QRect(22, 0, 400, band), Qt::AlignVCenter, QStringLiteral("Tolvad Organizer"));
        p.setFont(uiFont(13, false));
        p.drawText(QRect(300, 0, 258, band), Qt::AlignVCenter | Qt::AlignRight,
                   QStringLiteral("Choose a category of forms"));
    } else if (picture == 159) {
        p.setFont(uiFont(26, true));
        p.drawText(QRect(30, 0, 520, band), Qt::AlignVCenter, QStringLiteral("Tolvad Organizer"));
        p.setPen(kInk);
        p.setFont(uiFont(20, true));
        p.drawText(QRect(60, 95, 300, 30), Qt::AlignLeft, QStringLiteral("Q-V Davov Forms"));
        p.setFont(uiFont(14, false));
        p.drawText(
            QRect(60, 130, 270, 110), Qt::AlignLeft | Qt::TextWordWrap,
            QStringLiteral("Legal forms for your business and your home. Pick a form, answer its questions "
                           "and print the finished document."));
        drawDocuments(p, QPointF(370, 110), 1.0);
    } else {
        p.setFont(uiFont(20, true));
        p.drawText(QRect(20, 0, 390, band), Qt::AlignVCenter, QStringLiteral("Q-V Davov Software"));
        p.setPen(kInk);
        p.setFont(uiFont(13, false));
        p.drawText(QRect(20, band + 14, 390, 80), Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("Q-V Davov Forms, with the Tolvad Organizer forms catalogue.\n"
                                  "Copyright \u00A9 Q-V Davov Software. Click anywhere to close."));
    }
    return pm;
}

QPixmap CataloguePictures::CategoryIcon(int category, int size, qreal scale) {
    QPixmap pm = canvas(size, size, scale);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawTile(p, QRectF(size * 0.06, size * 0.06, size * 0.88, size * 0.88), category);
    return pm;
}

QIcon CataloguePictures::CategoryIconSet(int category) {
    QIcon icon;
    for (int size : {16, 32})
        for (qreal scale : {1.0, 2.0})
            icon.addPixmap(CategoryIcon(category, size, scale));
    return icon;
}

QIcon CataloguePictures::WindowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        for (qreal scale : {1.0, 2.0}) {
            QPixmap pm = canvas(size, size, scale);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(kNavy);
            p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.2, size * 0.2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(size * 0.28, size * 0.18, size * 0.44, size * 0.6));
            p.setBrush(kAccent);
            p.drawRect(QRectF(size * 0.36, size * 0.62, size * 0.28, size * 0.06));
            icon.addPixmap(pm);
        }
    return icon;
}

} // namespace qv::catalogue
