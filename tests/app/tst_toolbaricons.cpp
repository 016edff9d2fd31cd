// The toolbar pictures: drawn for the device pixels asked for, sharp on the
// pixel grid, distinct from each other, and greyed when disabled.
#include "TestEnvironment.h"
#include "app/ToolbarIcons.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

// The device pixels of a picture.
QImage picture(int number, int size, qreal ratio = 1.0, QIcon::Mode mode = QIcon::Normal)
{
    QImage image = toolbarIcon(number).pixmap(QSize(size, size), ratio, mode).toImage().convertToFormat(
        QImage::Format_ARGB32);
    image.setDevicePixelRatio(1.0);
    return image;
}

struct Coverage {
    int opaque = 0;
    int partial = 0;
};

Coverage coverage(const QImage& image)
{
    Coverage c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 255)
                ++c.opaque;
            else if (alpha > 0)
                ++c.partial;
        }
    }
    return c;
}

// How much of the square the picture covers, partly covered pixels in part.
double coveredShare(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    double alpha = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x)
            alpha += qAlpha(argb.pixel(x, y)) / 255.0;
    }
    return alpha / (argb.width() * argb.height());
}

}  // namespace

class TestToolbarIcons : public QObject {
    Q_OBJECT

private slots:
    void onlyTheTwelveNumbersHavePictures_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("exists");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("1 New") << 1 << true;
        QTest::newRow("12 Help") << 12 << true;
        QTest::newRow("13") << 13 << false;
        QTest::newRow("-1") << -1 << false;
    }
    void onlyTheTwelveNumbersHavePictures()
    {
        QFETCH(int, number);
        QFETCH(bool, exists);
        QCOMPARE(toolbarIcon(number).isNull(), !exists);
    }

    void drawnForTheDevicePixels_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("ratio");
        for (int number = 1; number <= 12; ++number) {
            for (int size : {16, 24, 32, 48}) {
                for (qreal ratio : {1.0, 1.5, 2.0})
                    QTest::addRow("%d at %d px x%.1f", number, size, ratio) << number << size << ratio;
            }
        }
    }
    void drawnForTheDevicePixels()
    {
        QFETCH(int, number);
        QFETCH(int, size);
        QFETCH(qreal, ratio);
        const QPixmap pixmap = toolbarIcon(number).pixmap(QSize(size, size), ratio);
        const int pixels = qRound(size * ratio);
        QCOMPARE(pixmap.size(), QSize(pixels, pixels));
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        // The same picture fills the same share of the square at every size,
        // so nothing is drawn for a smaller square in one corner.
        const double reference = coveredShare(picture(number, 16));
        QVERIFY(reference > 0.1);
        QVERIFY2(qAbs(coveredShare(pixmap.toImage()) - reference) < 0.1,
                 qPrintable(QString::number(coveredShare(pixmap.toImage())) + " vs " + QString::number(reference)));
    }

    void paintingMatchesThePixmap_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void paintingMatchesThePixmap()
    {
        QFETCH(qreal, ratio);
        for (int number = 1; number <= 12; ++number) {
            QImage painted(QSize(16, 16) * ratio, QImage::Format_ARGB32_Premultiplied);
            painted.setDevicePixelRatio(ratio);
            painted.fill(Qt::transparent);
            QPainter painter(&painted);
            toolbarIcon(number).paint(&painter, QRect(0, 0, 16, 16));
            painter.end();
            painted.setDevicePixelRatio(1.0);
            QImage expected = picture(number, 16, ratio).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(painted, expected);
        }
    }

    void picturesDifferFromEachOther()
    {
        for (int a = 1; a <= 12; ++a) {
            for (int b = a + 1; b <= 12; ++b)
                QVERIFY2(picture(a, 16) != picture(b, 16), qPrintable(QStringLiteral("%1 and %2").arg(a).arg(b)));
        }
    }

    // Straight outlines lie on whole pixels: a picture drawn half a pixel
    // off would blur every edge into two half-covered pixels.
    void straightEdgesAreSharp_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<qreal>("ratio");
        for (int number : {imgNew, imgOpen, imgSave, imgPrint, imgCopy, imgExit}) {
            QTest::addRow("%d at 100 %%", number) << number << 1.0;
            QTest::addRow("%d at 200 %%", number) << number << 2.0;
        }
    }
    void straightEdgesAreSharp()
    {
        QFETCH(int, number);
        QFETCH(qreal, ratio);
        const Coverage c = coverage(picture(number, 16, ratio));
        QVERIFY2(c.partial < c.opaque / 5,
                 qPrintable(QStringLiteral("%1 soft pixels, %2 solid").arg(c.partial).arg(c.opaque)));
    }

    void disabledPicturesAreGreyAndFainter_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("tones");  // grey tones that must stay apart
        for (int number = 1; number <= 12; ++number)
            QTest::addRow("%d", number) << number << (number == imgUndo || number == imgFont ? 1 : 2);
    }
    void disabledPicturesAreGreyAndFainter()
    {
        QFETCH(int, number);
        QFETCH(int, tones);
        const QImage normal = picture(number, 16);
        const QImage disabled = picture(number, 16, 1.0, QIcon::Disabled);
        QCOMPARE(disabled.size(), normal.size());
        int greyLevels = 0;
        QList<int> seen;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QRgb before = normal.pixel(x, y);
                const QRgb after = disabled.pixel(x, y);
                QCOMPARE(qAlpha(after) > 0, qAlpha(before) > 0);  // same shapes
                QVERIFY(qAlpha(after) < 255);
                if (qAlpha(after) > 32) {
                    const QColor colour = QColor::fromRgba(after);
                    QVERIFY2(colour.hsvSaturation() < 16, qPrintable(colour.name()));
                    if (!seen.contains(qGray(after) / 16)) {
                        seen << qGray(after) / 16;
                        ++greyLevels;
                    }
                }
            }
        }
        QVERIFY2(greyLevels >= tones, "the disabled picture keeps its inner lines");
    }

    // The toolbar's own buttons take the disabled look from the picture.
    void disabledToolButtonShowsNoColour()
    {
        QToolBar bar;
        bar.setIconSize(QSize(16, 16));
        QAction* action = bar.addAction(toolbarIcon(imgHelp), QStringLiteral("Help"));
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action));
        QVERIFY(button);
        const auto strongestColour = [button] {
            const QImage shot = button->grab().toImage();
            int strongest = 0;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x)
                    strongest = std::max(strongest, QColor(shot.pixel(x, y)).hsvSaturation());
            }
            return strongest;
        };
        QVERIFY(strongestColour() > 128);  // the blue help circle
        action->setEnabled(false);
        QVERIFY(strongestColour() < 40);
    }
};

PAGEWELL_TEST_MAIN(TestToolbarIcons)
#include "tst_toolbaricons.moc"
