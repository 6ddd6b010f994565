#include "editor/rtf/RtfPicture.h"

#include <algorithm>

namespace qv::editor {

void RtfPicture::begin() {
    *this = RtfPicture();
}

bool RtfPicture::word(const QByteArray& w, int p) {
    if (w == "pngblip")
        type_ = "PNG";
    else if (w == "jpegblip")
        type_ = "JPG";
    else if (w == "wmetafile")
        type_ = "WMF";
    else if (w == "emfblip")
        type_ = "EMF";
    else if (w == "picw")
        width_ = std::max(0, p);
    else if (w == "pich")
        height_ = std::max(0, p);
    else if (w == "picwgoal")
        goalWidth_ = std::max(0, p);
    else if (w == "pichgoal")
        goalHeight_ = std::max(0, p);
    else if (w == "picscalex")
        scaleX_ = std::clamp(p, 1, 1000);
    else if (w == "picscaley")
        scaleY_ = std::clamp(p, 1, 1000);
    else if (w == "piccropl")
        cropLeft_ = p;
    else if (w == "piccropr")
        cropRight_ = p;
    else if (w == "piccropt")
        cropTop_ = p;
    else if (w == "piccropb")
        cropBottom_ = p;
    else
        return false;
    return true;
}

void RtfPicture::hex(unsigned char b) {
    int v;
    if (b >= '0' && b <= '9')
        v = b - '0';
    else if (b >= 'a' && b <= 'f')
        v = b - 'a' + 10;
    else if (b >= 'A' && b <= 'F')
        v = b - 'A' + 10;
    else
        return;
    if (nibble_ < 0) {
        nibble_ = v;
        return;
    }
    if (data_.size() < kMaxData)
        data_.append(static_cast<char>(nibble_ << 4 | v));
    nibble_ = -1;
}

void RtfPicture::binary(const QByteArray& bytes) {
    if (data_.size() + bytes.size() <= kMaxData)
        data_.append(bytes);
}

QImage RtfPicture::image() const {
    if ((type_ != "PNG" && type_ != "JPG") || data_.isEmpty())
        return {};
    QImage image;
    if (!image.loadFromData(data_, type_.constData()))
        return {};
    // Cropping is in twips of the goal size: the same share of the image's pixels.
    const qreal gw = goalWidth_ > 0 ? goalWidth_ : image.width() * 15.0;
    const qreal gh = goalHeight_ > 0 ? goalHeight_ : image.height() * 15.0;
    const int l = std::clamp(int(cropLeft_ / gw * image.width()), 0, image.width() - 1);
    const int r = std::clamp(int(cropRight_ / gw * image.width()), 0, image.width() - 1 - l);
    const int t = std::clamp(int(cropTop_ / gh * image.height()), 0, image.height() - 1);
    const int b = std::clamp(int(cropBottom_ / gh * image.height()), 0, image.height() - 1 - t);
    if (l || r || t || b)
        image = image.copy(l, t, image.width() - l - r, image.height() - t - b);
    return image;
}

QSizeF RtfPicture::shownSize() const {
    const bool metafile = type_ == "WMF" || type_ == "EMF";
    // Natural size in twips: pixels at 96 per inch, or hundredths of a millimetre.
    const qreal naturalW = metafile ? width_ * 1440.0 / 2540.0 : width_ * 15.0;
    const qreal naturalH = metafile ? height_ * 1440.0 / 2540.0 : height_ * 15.0;
    const qreal w = (goalWidth_ > 0 ? goalWidth_ : naturalW) - cropLeft_ - cropRight_;
    const qreal h = (goalHeight_ > 0 ? goalHeight_ : naturalH) - cropTop_ - cropBottom_;
    return {std::max<qreal>(0, w) * scaleX_ / 100.0 / 20.0, std::max<qreal>(0, h) * scaleY_ / 100.0 / 20.0};
}

QString RtfPicture::label() const {
    if (type_ == "WMF" || type_ == "EMF")
        return QStringLiteral("Picture (%1)").arg(QString::fromLatin1(type_));
    return QStringLiteral("Picture");
}

} // namespace qv::editor
