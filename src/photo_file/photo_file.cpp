#include "photo_file/photo_file.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <cstring>

namespace kalvori {
namespace {

DecodedPhoto failed(PhotoFileError error, std::string why) {
  DecodedPhoto d;
  d.error = error;
  d.why = std::move(why);
  return d;
}

DecodedPhoto decodeFrom(QIODevice& device) {
  QImageReader reader(&device);
  // The camera's orientation tag turns the photo upright, as every viewer shows it.
  reader.setAutoTransform(true);
  // Qt's own limit is 256 MB of decoded pixels; a part's photo needs far less, and a file that
  // claims more is refused before any pixel is allocated.
  reader.setAllocationLimit(static_cast<int>(kMaxPhotoPixels * 4 / (1024 * 1024)));
  if (!reader.canRead()) return failed(PhotoFileError::NotAnImage, "不是照片：认不出这种文件，请用 JPEG 或 PNG");
  const QSize size = reader.size();
  if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxPhotoPixels)
    return failed(PhotoFileError::TooLarge, "照片太大：请缩小到六千万像素以内");
  QImage image;
  if (!reader.read(&image) || image.isNull())
    return failed(PhotoFileError::NotAnImage, "照片读不出来：文件坏了或不完整");
  DecodedPhoto d;
  d.image = photoFromImage(image);
  if (d.image.empty()) return failed(PhotoFileError::TooLarge, "照片太大：请缩小到六千万像素以内");
  return d;
}

}  // namespace

DecodedPhoto decodePhotoFile(const std::string& path) {
  QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
  if (!file.open(QIODevice::ReadOnly)) return failed(PhotoFileError::Unreadable, "打不开这个文件");
  if (file.size() > kMaxPhotoBytes) return failed(PhotoFileError::TooLarge, "文件太大，不像一张照片");
  return decodeFrom(file);
}

DecodedPhoto decodePhotoBytes(const QByteArray& bytes) {
  if (bytes.size() > kMaxPhotoBytes) return failed(PhotoFileError::TooLarge, "文件太大，不像一张照片");
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return decodeFrom(buffer);
}

RgbImage photoFromImage(const QImage& image) {
  if (image.isNull() || static_cast<long long>(image.width()) * image.height() > kMaxPhotoPixels) return {};
  QImage srgb = image;
  // An embedded profile (a wide-gamut phone photo) is turned into sRGB, which the colour table of the
  // reader is written in; an image without one is taken to be sRGB already.
  if (srgb.colorSpace().isValid() && srgb.colorSpace() != QColorSpace(QColorSpace::SRgb))
    srgb.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
  // Transparent parts are drawn over white, as a viewer shows them.
  if (srgb.hasAlphaChannel()) {
    QImage flat(srgb.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QImage premultiplied = srgb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < flat.height(); ++y) {
      const auto* from = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
      uchar* to = flat.scanLine(y);
      for (int x = 0; x < flat.width(); ++x) {
        const int a = qAlpha(from[x]);
        to[3 * x] = static_cast<uchar>(qRed(from[x]) + (255 - a));
        to[3 * x + 1] = static_cast<uchar>(qGreen(from[x]) + (255 - a));
        to[3 * x + 2] = static_cast<uchar>(qBlue(from[x]) + (255 - a));
      }
    }
    srgb = flat;
  } else {
    srgb = srgb.convertToFormat(QImage::Format_RGB888);
  }
  RgbImage photo(srgb.width(), srgb.height());
  const auto row = static_cast<std::size_t>(srgb.width()) * 3;
  for (int y = 0; y < srgb.height(); ++y) std::memcpy(photo.pixel(0, y), srgb.constScanLine(y), row);
  return photo;
}

QImage imageFromPhoto(const RgbImage& photo) {
  if (photo.empty()) return {};
  QImage image(photo.width, photo.height, QImage::Format_RGB888);
  const auto row = static_cast<std::size_t>(photo.width) * 3;
  for (int y = 0; y < photo.height; ++y) std::memcpy(image.scanLine(y), photo.pixel(0, y), row);
  image.setColorSpace(QColorSpace(QColorSpace::SRgb));
  return image;
}

}  // namespace kalvori
