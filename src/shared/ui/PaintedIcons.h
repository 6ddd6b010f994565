#pragma once

#include <QIcon>

namespace qv {

/// The program's pictures, drawn as vector shapes so that they stay sharp at any
/// screen scale and need no image files or icon theme.
class PaintedIcons {
public:
    enum Picture {
        Open,
        Save,
        Print,
        PrintPreview,
        Cut,
        Copy,
        Paste,
        Delete,
        Undo,
        Calculator,
        Help,
        FormPicture, // the interview bar's picture: a form and a pen
        Bold,
        Italic,
        Underline,
        AlignLeft,
        AlignCenter,
        AlignRight,
        ReviewAnswers, // a list of answers with ticks
    };

    static QIcon icon(Picture picture);
};

} // namespace qv
