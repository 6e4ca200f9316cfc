// Photos in: a file (JPEG, PNG, and what else the image plugins read) or an image the desktop was
// handed (the clipboard, a drop, a camera frame) turned into the reader's RgbImage: upright as the
// camera's orientation tag says, and in sRGB when it carries a colour profile, before anything else
// looks at it.
//
// What it deliberately does not do: read the photo (photo/ does) or show it. Decoding a file reads
// storage: call it off the UI thread.
#pragma once

#include <QImage>
#include <string>

#include "photo/rgb_image.h"

namespace kalvori {

enum class PhotoFileError {
  None,
  Unreadable,  // missing, a folder, no permission, or a read error
  NotAnImage,  // no image format recognised, or one that does not decode
  TooLarge,    // more pixels or bytes than a photo of a part needs
};

struct DecodedPhoto {
  RgbImage image;  // empty unless error is None
  PhotoFileError error = PhotoFileError::None;
  std::string why;  // for an error: one line in Chinese
};

// The most pixels a photo may have (a 48-megapixel phone photo fits) and the largest file read.
inline constexpr long long kMaxPhotoPixels = 64LL * 1000 * 1000;
inline constexpr long long kMaxPhotoBytes = 256LL * 1024 * 1024;

// Reads and decodes the file at `path` (bytes as the file system has them). Needs no display and no
// QGuiApplication. Blocks on storage.
DecodedPhoto decodePhotoFile(const std::string& path);

// Decodes encoded bytes (a pasted or dropped file's contents).
DecodedPhoto decodePhotoBytes(const QByteArray& bytes);

// An image already decoded (the clipboard's): converted to sRGB when it carries a colour space,
// then to RgbImage. An empty or too large image gives an empty RgbImage.
RgbImage photoFromImage(const QImage& image);

// The reader's image back as a QImage (RGB888), for drawing.
QImage imageFromPhoto(const RgbImage& photo);

}  // namespace kalvori
