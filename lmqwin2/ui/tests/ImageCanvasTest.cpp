// The raster canvas over QImage and the settings store.

#include "lmqwin2/ui/TImageCanvas.h"
#include "lmqwin2/ui/TSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace lm;

class ImageCanvasTest : public QObject {
    Q_OBJECT

private:
    static QImage Blank(int w = 20, int h = 20)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }
    static int Count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

private slots:
    void pointSizesInTheImage_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QRect>("square");
        QTest::newRow("1") << 1 << QRect(10, 10, 1, 1);
        QTest::newRow("2") << 2 << QRect(10, 9, 2, 2);
        QTest::newRow("5") << 5 << QRect(8, 8, 5, 5);
    }
    void pointSizesInTheImage()
    {
        QFETCH(int, size);
        QFETCH(QRect, square);
        QImage image = Blank();
        {
            TImageCanvas canvas(image, size);
            // A painter that is already drawing gives way to the direct pixel writes.
            canvas.Line(0, 0, 0, 19, RgbFromHex(0x0000FF), LineStyle::Solid);
            const Dot dot{10, 10, PixelOf(RgbFromHex(0x12AB34))};
            canvas.Dots(std::span<const Dot>(&dot, 1));
        }
        const QRgb green = qRgb(0x12, 0xAB, 0x34);
        QCOMPARE(Count(image, green), square.width() * square.height());
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                QCOMPARE(image.pixel(x, y) == green, square.contains(x, y));
        QCOMPARE(image.pixel(0, 5), qRgb(0, 0, 255));
    }

    void rectanglesHaveExclusiveRightAndBottom()
    {
        QImage image = Blank();
        {
            TImageCanvas canvas(image, 1);
            canvas.FillRect(2, 2, 6, 5, RgbFromHex(0xFF0000));
            canvas.OutlineRect(10, 10, 15, 14, RgbFromHex(0x00FF00));
        }
        QCOMPARE(Count(image, qRgb(255, 0, 0)), 12);
        QCOMPARE(image.pixel(5, 4), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(6, 4), qRgb(0, 0, 0));
        QCOMPARE(Count(image, qRgb(0, 255, 0)), 2 * 5 + 2 * 2);
        QCOMPARE(image.pixel(14, 13), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(15, 13), qRgb(0, 0, 0));
    }

    void textSitsAtItsAnchor()
    {
        QImage image = Blank(200, 60);
        {
            TImageCanvas canvas(image, 1);
            canvas.Text(100, 30, HAlign::Right, VAlign::Center, RgbFromHex(0xFFFFFF), "8888");
        }
        int left = 200, right = -1, top = 60, bottom = -1;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY(right >= 0);
        QVERIFY(right <= 100 && right >= 90);
        QVERIFY(left < 95);
        QVERIFY(top < 30 && bottom > 30);
    }

    void settingsStoreReadsTheIniValues()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        QDir().mkpath(dir.path() + "/Varnholt");
        QFile file(dir.path() + "/Varnholt/AELumeny.conf");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Quorvel]\nShowGrid=true\nEventsView=false\nPointSize=5\nViewType=abc\nCheckedChan=10\n"
                   "[Tessaline]\nPointSize=7\n");
        file.close();
        {
            TSettingsStore store;
            QCOMPARE(store.GetBool("ShowGrid", false), true);
            QCOMPARE(store.GetBool("EventsView", true), false);
            QCOMPARE(store.GetInt("PointSize", 2), 5);
            QCOMPARE(store.GetInt("ViewType", 1), 1);
            QCOMPARE(store.GetInt("Missing", 42), 42);
            QCOMPARE(store.GetString("CheckedChan", ""), std::string("10"));
            AOptions options;
            options.Load(store);
            QCOMPARE(options.PointSize, 5);
            QVERIFY(options.ShowGrid);
            store.SetInt("ColorScheme", 1);
            store.SetBool("ShowDeleted", true);
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains("ColorScheme=1"));
        QVERIFY(text.contains("ShowDeleted=true"));
        QVERIFY(text.contains("[Tessaline]\nPointSize=7"));
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ImageCanvasTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ImageCanvasTest.moc"
