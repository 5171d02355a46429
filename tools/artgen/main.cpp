// quivella-artgen: paints the window's background picture and the application icon.
//
// Both pictures are drawn by this program from fixed seeds, so running it again gives the same
// files. To regenerate the committed images, from the repository root:
//
//   cmake --preset debug -B out/build/art
//   cmake --build out/build/art -j2 --target quivella-artgen
//   out/build/art/tools/artgen/quivella-artgen resources
//
// It writes <dir>/background.jpg (820 x 461, baseline RGB JPEG, the highest quality whose file
// stays within kMaxBackgroundBytes) and <dir>/icon.png (40 x 40, 8-bit RGB, no alpha).
#include "artwork.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QString>

#include <cstdio>

namespace {

// The background is embedded in the executable; about 60 KB keeps it small but free of visible
// blocking.
constexpr qint64 kMaxBackgroundBytes = 62151;
constexpr int kBestQuality = 95;
constexpr int kWorstQuality = 50;

// Encodes `image` in `format` at `quality` (or the writer's default when negative); returns an
// empty array on failure.
QByteArray Encode(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) {
    writer.setQuality(quality);
  }
  if (!writer.write(image)) {
    std::fprintf(stderr, "quivella-artgen: cannot encode %s: %s\n", format,
                 qPrintable(writer.errorString()));
    return {};
  }
  return bytes;
}

// Returns the JPEG at the highest quality that fits the size budget.
QByteArray EncodeBackground(const QImage& image) {
  QByteArray best;
  for (int quality = kBestQuality; quality >= kWorstQuality; --quality) {
    best = Encode(image, "jpeg", quality);
    if (best.isEmpty() || best.size() <= kMaxBackgroundBytes) {
      break;
    }
  }
  return best;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "quivella-artgen: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s: %lld bytes\n", qPrintable(path), static_cast<long long>(bytes.size()));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The application object is needed for the image-format plugins to be found.
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: quivella-artgen <output-directory>\n");
    return 2;
  }
  const QDir out(args.at(1));
  if (!out.exists()) {
    std::fprintf(stderr, "quivella-artgen: no such directory: %s\n", qPrintable(args.at(1)));
    return 2;
  }

  using namespace quivella::artgen;
  const bool ok = WriteFile(out.filePath("background.jpg"), EncodeBackground(PaintLandscape())) &&
                  WriteFile(out.filePath("icon.png"), Encode(PaintIcon(), "png", -1));
  return ok ? 0 : 1;
}
