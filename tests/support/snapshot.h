#pragma once

// Compares what a window looks like with its approved picture in
// docs/pictures. With TAIKAN_APPROVE=1 in the environment the rendering is
// written there instead, as the new approved picture (tools/approve-pictures.sh).
// Pictures are approved together with a fingerprint of the Qt version and of
// how the fonts render; where that differs here, the comparison is skipped
// with a message rather than failed: another font gives other pixels.
#include <QCryptographicHash>
#include <QDir>
#include <QPainter>
#include <QtTest>

namespace testing {

// The Qt version, and a digest of a text rendered in every font the windows use.
inline QByteArray renderingFingerprint()
{
    QImage sample(480, 120, QImage::Format_RGB32);
    sample.fill(Qt::white);
    QPainter painter(&sample);
    int y = 20;
    for (const auto &[family, bold] : {std::pair{"Arial", true}, std::pair{"Arial", false}, std::pair{"Arial Narrow", false}}) {
        QFont font{QString::fromLatin1(family)};
        font.setPointSizeF(11.25);
        font.setBold(bold);
        painter.setFont(font);
        painter.drawText(4, y, QStringLiteral("Kovamo Taikan 0123456789 Aka Ao Tatami: Start"));
        y += 36;
    }
    painter.end();
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(sample.constBits(), sample.sizeInBytes()), QCryptographicHash::Sha256);
    return QByteArray("Qt ") + qVersion() + " fonts " + digest.toHex().left(16) + '\n';
}

struct SnapshotResult {
    enum Outcome { Same, Approved, Skipped, Differs } outcome;
    QString message;
};

// `renderedWith` and `fingerprintFile`: another renderer's (a browser's) pictures.
inline SnapshotResult compareSnapshot(const QImage &rendered, const QString &name, const QByteArray &renderedWith = renderingFingerprint(),
                                      const QString &fingerprintFile = QStringLiteral("fingerprint.txt"))
{
    const QDir dir(QStringLiteral(TAIKAN_PICTURES_DIR));
    const QString approvedPath = dir.filePath(name + QStringLiteral(".png"));
    QFile fingerprint(dir.filePath(fingerprintFile));
    const QImage actual = rendered.convertToFormat(QImage::Format_RGB32);

    if (qEnvironmentVariableIntValue("TAIKAN_APPROVE") == 1) {
        if (!actual.save(approvedPath) || !fingerprint.open(QIODevice::WriteOnly))
            return {SnapshotResult::Differs, QStringLiteral("cannot write %1").arg(approvedPath)};
        fingerprint.write(renderedWith);
        return {SnapshotResult::Approved, approvedPath};
    }

    const QByteArray approvedWith = fingerprint.open(QIODevice::ReadOnly) ? fingerprint.readAll() : QByteArray();
    if (approvedWith != renderedWith)
        return {SnapshotResult::Skipped,
                QStringLiteral("pictures approved with %1, this machine renders as %2; "
                               "compare by eye or re-approve with tools/approve-pictures.sh")
                    .arg(QString::fromLatin1(approvedWith.trimmed()), QString::fromLatin1(renderedWith.trimmed()))};

    const QImage approved = QImage(approvedPath).convertToFormat(QImage::Format_RGB32);
    if (approved.isNull())
        return {SnapshotResult::Differs, QStringLiteral("no approved picture %1").arg(approvedPath)};
    auto sizeText = [](const QImage &image) { return QStringLiteral("%1x%2").arg(image.width()).arg(image.height()); };
    if (approved.size() != actual.size())
        return {SnapshotResult::Differs, QStringLiteral("%1: size %2, approved %3").arg(name, sizeText(actual), sizeText(approved))};

    // A pixel differs when a channel is off by more than the tolerance;
    // anti-aliasing may differ by a little, a moved or recoloured element
    // by far more.
    constexpr int tolerance = 24;
    QImage diff(actual.size(), QImage::Format_RGB32);
    diff.fill(Qt::white);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(approved.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])), std::abs(qBlue(a[x]) - qBlue(b[x]))});
            if (d > tolerance) {
                ++differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (differing == 0)
        return {SnapshotResult::Same, {}};
    const QString actualPath = QDir::current().filePath(name + QStringLiteral(".actual.png"));
    const QString diffPath = QDir::current().filePath(name + QStringLiteral(".diff.png"));
    actual.save(actualPath);
    diff.save(diffPath);
    return {SnapshotResult::Differs,
            QStringLiteral("%1: %2 pixels differ from the approved picture; see %3 and %4").arg(name).arg(differing).arg(actualPath, diffPath)};
}

} // namespace testing

// Compares `image` with the approved picture `name`; skips where the
// pictures were approved under other fonts or another Qt (or browser).
#define COMPARE_SNAPSHOT(image, ...)                                                                                                                           \
    do {                                                                                                                                                       \
        const testing::SnapshotResult result_ = testing::compareSnapshot((image), __VA_ARGS__);                                                                \
        if (result_.outcome == testing::SnapshotResult::Skipped)                                                                                               \
            QSKIP(qPrintable(result_.message));                                                                                                                \
        if (result_.outcome == testing::SnapshotResult::Differs)                                                                                               \
            QFAIL(qPrintable(result_.message));                                                                                                                \
    } while (false)
