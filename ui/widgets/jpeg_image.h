// JPEG pictures decoded with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

namespace cadenzo {

// The picture as RGB, or a null image when libjpeg cannot read the bytes or
// the picture is too large to hold.
QImage DecodeJpeg(const QByteArray& bytes);

}  // namespace cadenzo
