// Photos in: turned upright by the camera's orientation tag, converted to sRGB from an embedded
// profile, and the kinds of file that are no photo told apart. (The terminal's test runs every
// hostile file through the whole program.)
#include "photo_file/photo_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QFile>

#include "support/temp_folder.h"

namespace kalvori {
namespace {

QByteArray encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// Red left half, blue right half: large enough blocks that JPEG keeps them apart.
QImage halves(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(Qt::blue);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width / 2; ++x) image.setPixelColor(x, y, Qt::red);
  return image;
}

bool reddish(const RgbImage& photo, int x, int y) { return photo.pixel(x, y)[0] > 200 && photo.pixel(x, y)[2] < 60; }

TEST(PhotoFile, TheOrientationTagTurnsAJpegUpright) {
  QByteArray jpeg = encoded(halves(64, 32), "JPG");
  // An Exif segment right after the start of image: big-endian TIFF, one entry, orientation 6 (the
  // camera was turned a quarter clockwise: the picture's left is the scene's top).
  const char exif[] =
      "\xFF\xE1\x00\x22"
      "Exif\0\0"
      "MM\x00\x2A\x00\x00\x00\x08"
      "\x00\x01"
      "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
      "\x00\x00\x00\x00";
  jpeg.insert(2, QByteArray(exif, sizeof exif - 1));
  const DecodedPhoto d = decodePhotoBytes(jpeg);
  ASSERT_EQ(d.error, PhotoFileError::None) << d.why;
  ASSERT_EQ(d.image.width, 32);
  ASSERT_EQ(d.image.height, 64);
  EXPECT_TRUE(reddish(d.image, 16, 4));
  EXPECT_FALSE(reddish(d.image, 16, 60));
}

TEST(PhotoFile, AnEmbeddedProfileIsConvertedToSrgbAndNoProfileMeansSrgb) {
  QImage grey(8, 8, QImage::Format_RGB888);
  grey.fill(QColor(128, 128, 128));
  const DecodedPhoto plain = decodePhotoBytes(encoded(grey, "PNG"));
  ASSERT_EQ(plain.error, PhotoFileError::None);
  EXPECT_EQ(plain.image.pixel(3, 3)[1], 128);
  // Half the light in linear sRGB is 188 of 255 in sRGB's curve.
  grey.setColorSpace(QColorSpace(QColorSpace::SRgbLinear));
  const DecodedPhoto linear = decodePhotoBytes(encoded(grey, "PNG"));
  ASSERT_EQ(linear.error, PhotoFileError::None);
  EXPECT_NEAR(linear.image.pixel(3, 3)[1], 188, 2);
}

TEST(PhotoFile, WhatIsNoPhotoIsToldApart) {
  const testing::TempFolder folder("photo-file");
  QFile notes(QString::fromStdString(folder.path() + "/notes.jpg"));
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("4k7 5%\n") == 7);
  notes.close();
  const std::pair<std::string, PhotoFileError> cases[] = {
      {folder.path() + "/missing.jpg", PhotoFileError::Unreadable},
      {folder.path(), PhotoFileError::Unreadable},
      {"/dev/zero", PhotoFileError::Unreadable},  // a device: never read, as it never ends
      {folder.path() + "/notes.jpg", PhotoFileError::NotAnImage},
  };
  for (const auto& [path, error] : cases) {
    const DecodedPhoto d = decodePhotoFile(path);
    EXPECT_EQ(d.error, error) << path;
    EXPECT_TRUE(d.image.empty() && !d.why.empty()) << path;
  }
}

}  // namespace
}  // namespace kalvori
