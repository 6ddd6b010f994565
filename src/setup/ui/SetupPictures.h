#pragma once

#include <QIcon>
#include <QImage>

namespace qv::setup {

/// The setup window's pictures, drawn in code: EMBOSS (a 240 x 30 brick), QVLOGO
/// (330 x 47, white where the background is to show) and QVMASK (330 x 47, white where
/// the logo is), combined as the window paints them.
class SetupPictures {
public:
    static QImage Emboss();
    static QImage Logo();
    static QImage Mask();
    /// Icon 128, the window's own: the suite's box with a page going in, drawn like the
    /// icons the setup installs for the desktop.
    static QIcon WindowIcon();
};

} // namespace qv::setup
