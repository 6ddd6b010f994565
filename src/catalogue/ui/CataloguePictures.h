#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSizeF>
#include <QString>

namespace qv::catalogue {

/// The catalogue's pictures, drawn in code so that they stay editable and sharp at any
/// screen scale: the four states of each picture button ("U" normal, "D" pressed, "F"
/// focused, "X" disabled, which marks the chosen category), the three backgrounds, the
/// category icons and the window icon.
class CataloguePictures {
public:
    enum class State { Up, Down, Focused, Disabled };

    static constexpr int kCategoryWidth = 157;
    static constexpr int kCategoryHeight = 47;

    /// The name a category's button shows.
    static QString CategoryName(int category);

    static QPixmap CategoryButton(int category, State state, qreal scale);
    /// The largest button font (13 pixels down to 8) in which LABEL, wrapped at its
    /// words, fits AREA.
    static QFont FittingFont(const QString& label, const QSizeF& area);
    /// The font a category's name is drawn in on its button.
    static QFont CategoryFont(int category);
    static QPixmap KeywordButton(State state, qreal scale);
    /// "SELECT" or "OPEN" of the start screen.
    static QPixmap StartButton(bool select, State state, qreal scale);

    /// Picture 129 (580 x 300, catalogue window), 159 (580 x 400, start screen) or 182
    /// (426 x 154, about box).
    static QPixmap Background(int picture, qreal scale);

    static QPixmap CategoryIcon(int category, int size, qreal scale);
    static QIcon CategoryIconSet(int category);
    static QIcon WindowIcon();
};

} // namespace qv::catalogue
