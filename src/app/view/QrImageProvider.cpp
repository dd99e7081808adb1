#include "QrImageProvider.h"

#include <QPainter>
#include <QUrl>

#include <qrencode.h>

#include <algorithm>
#include <memory>

std::optional<QRGenerator::Matrix> QRGenerator::encode(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return std::nullopt;
    // Byte mode for the whole text, the smallest version that holds it.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(bytes.size()), reinterpret_cast<const unsigned char *>(bytes.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return std::nullopt;
    Matrix matrix;
    matrix.size = code->width;
    const std::size_t count = std::size_t(code->width) * std::size_t(code->width);
    matrix.dark.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        matrix.dark.push_back(code->data[i] & 1);
    return matrix;
}

std::optional<QImage> QRGenerator::makeImage(const QString &text, int side)
{
    const std::optional<Matrix> matrix = encode(text);
    if (!matrix)
        return std::nullopt;
    const int modulePixels = side / (matrix->size + 2 * quietZone);
    if (modulePixels < 1)
        return std::nullopt;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int origin = (side - modulePixels * matrix->size) / 2;
    QPainter painter(&image);
    for (int y = 0; y < matrix->size; ++y) {
        for (int x = 0; x < matrix->size; ++x) {
            if (matrix->isDark(x, y))
                painter.fillRect(origin + x * modulePixels, origin + y * modulePixels, modulePixels, modulePixels,
                                 Qt::black);
        }
    }
    return image;
}

QrImageProvider::QrImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{}

QImage QrImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    // The image is square: the smaller of the given dimensions wins.
    int side = defaultSide;
    if (requestedSize.width() > 0 && requestedSize.height() > 0)
        side = std::min(requestedSize.width(), requestedSize.height());
    else if (requestedSize.width() > 0 || requestedSize.height() > 0)
        side = std::max(requestedSize.width(), requestedSize.height());
    const QImage image = QRGenerator::makeImage(QUrl::fromPercentEncoding(id.toUtf8()), side).value_or(QImage());
    if (size)
        *size = image.size();
    return image;
}
