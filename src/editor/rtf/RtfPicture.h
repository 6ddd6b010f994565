#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace qv::editor {

/// One \pict group as the reader meets it: its kind, size, scale and cropping words and
/// its data, hex or binary, bounded. PNG and JPEG become an image (cropped as the file
/// says); other kinds stay bytes for a placeholder of the right size.
class RtfPicture {
public:
    static constexpr qsizetype kMaxData = 64 << 20;

    void begin();
    /// A word of the \pict group; false when it is not a picture word.
    bool word(const QByteArray& w, int p);
    void hex(unsigned char b);
    void binary(const QByteArray& bytes);

    /// The picture as an image, or a null image when it is not one Qt shows.
    QImage image() const;
    /// Size shown, in points: the goal size (or the natural one), scaled and cropped.
    QSizeF shownSize() const;
    /// "Picture (WMF)", "Picture (EMF)" or "Picture".
    QString label() const;

private:
    QByteArray data_;
    QByteArray type_; // "PNG", "JPG", "WMF", "EMF", or empty
    int nibble_ = -1;
    int width_ = 0, height_ = 0;         // \picw \pich: pixels, or 0.01 mm for metafiles
    int goalWidth_ = 0, goalHeight_ = 0; // twips
    int scaleX_ = 100, scaleY_ = 100;
    int cropLeft_ = 0, cropRight_ = 0, cropTop_ = 0, cropBottom_ = 0; // twips
};

} // namespace qv::editor
