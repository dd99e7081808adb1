#pragma once

#include <QImage>
#include <QQuickImageProvider>
#include <QString>

#include <optional>
#include <vector>

// QR codes (ISO/IEC 18004, error correction level M) of a text's UTF-8 bytes,
// by libqrencode.
class QRGenerator {
public:
    // Light modules around the symbol inside the image; the white frame the
    // sheet draws around the image completes the quiet zone.
    static constexpr int quietZone = 2;

    struct Matrix {
        int size = 0;           // modules per side
        std::vector<bool> dark; // row by row

        bool isDark(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
    };

    // Nothing when the text is empty or too long for any QR version.
    static std::optional<Matrix> encode(const QString &text);

    // A side x side image, black on white. Every module is the same whole
    // number of pixels, so the code stays sharp without smoothing; the pixels
    // left over widen the margin. Nothing when the text cannot be encoded or
    // its modules do not fit in `side`.
    static std::optional<QImage> makeImage(const QString &text, int side);
};

// "image://qr/<percent-encoded text>": the text's QR code, at the requested
// size (square) or 280 x 280. A text that cannot be encoded gives no image.
class QrImageProvider : public QQuickImageProvider {
public:
    static constexpr int defaultSide = 280;

    QrImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};
