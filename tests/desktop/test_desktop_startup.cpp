// The program started on the demo network, as a user sees it on a desktop:
// the picture the network opens is the active picture (the last picture
// opened is the active one), so that the picture commands and their keys
// reach it without a click, and it opens whole, without scroll bars, when
// the area has room for it.
#include <QClipboard>
#include <QImage>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "base/mdi.h"
#include "desktop_util.h"
#include "pictures/frmPic.h"

class TestDesktopStartup : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString startDir;
    zk::frmMain *main = nullptr;
    QSize demoPicture;

private slots:
    void initTestCase()
    {
        QVERIFY2(desktop::haveXTools(), "xwininfo and xprop are missing: install the Debian package x11-utils");
        startDir = QDir::currentPath();
        const QString net = desktop::copyDemo(dir);
        QVERIFY2(!net.isEmpty(), "the demo network was not written beside the programs (target zk_demomap)");
        // The picture's size as the image file has it.
        demoPicture = QImageReader(dir.filePath(QStringLiteral("demo.bmp"))).size();
        QCOMPARE(demoPicture, QSize(480, 360));
        // Left by the user at 1200 x 900 pixels (in twips), room for the
        // whole picture.
        zk::writesetting(QStringLiteral("MainLeft"), QStringLiteral("0"));
        zk::writesetting(QStringLiteral("MainTop"), QStringLiteral("0"));
        zk::writesetting(QStringLiteral("MainWidth"), QString::number(1200 * 15));
        zk::writesetting(QStringLiteral("MainHeight"), QString::number(900 * 15));
        main = desktop::startOn(net);
        QVERIFY(main);
        QVERIFY(desktop::waitXActive(main));
        QVERIFY(desktop::settledFrame(main));
    }
    void cleanupTestCase()
    {
        delete main;
        QCoreApplication::processEvents();
        QDir::setCurrent(startDir);
    }

    void thePictureOpenedLastIsActive()
    {
        const QList<QMdiSubWindow *> opened = main->mdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(opened.size(), 1);
        auto *pic = qobject_cast<zk::frmPic *>(opened.last());
        QVERIFY(pic && pic->isVisible());
        QCOMPARE(pic->Filename.trimmed().toLower().right(8), QStringLiteral("demo.bmp"));
        QCOMPARE(main->mdiArea()->activeSubWindow(), pic);
        QCOMPARE(zk::activepic(), pic);
        // ... in the main window, which holds the keyboard.
        QVERIFY(desktop::isXActive(main));
        QCOMPARE(QApplication::activeWindow(), main);
    }

    void copyKeyReachesThePicture()
    {
        // Ctrl+C as the user types it into the program just started: the
        // active picture goes to the clipboard.
        QClipboard *cb = QGuiApplication::clipboard();
        cb->setText(QStringLiteral("avant"));
        // Typed on the X server's keyboard, it goes where the window manager
        // and the program send keys.
        QVERIFY2(desktop::xrun(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+c")}),
                 "xdotool is missing: install the Debian package xdotool");
        QElapsedTimer t;
        t.start();
        while (cb->image().isNull() && t.elapsed() < 3000) QTest::qWait(50);
        QCOMPARE(cb->image().size(), demoPicture);
    }

    void thePictureOpensWhole()
    {
        // The demo network's picture, whichever window is active.
        auto *pic = zk::picwindows().value(0);
        QVERIFY(pic);
        const QSize area = main->mdiArea()->viewport()->size();
        QVERIFY2(area.width() > demoPicture.width() + 40 && area.height() > demoPicture.height() + 60,
                 qPrintable(QStringLiteral("the main window's area (%1 x %2) has no room for the whole picture")
                                .arg(area.width())
                                .arg(area.height())));
        // The picture box shows every pixel: the client area holds it and
        // neither scroll bar is needed.
        QVERIFY2(!pic->VScroll1->isVisible(), "vertical scroll bar shown");
        QVERIFY2(!pic->HScroll1->isVisible(), "horizontal scroll bar shown");
        const QSize client = pic->client()->size();
        QVERIFY2(client.width() >= demoPicture.width() && client.height() >= demoPicture.height(),
                 qPrintable(QStringLiteral("client %1 x %2").arg(client.width()).arg(client.height())));
        // ... and no more than a few pixels of border around it.
        QVERIFY(client.width() <= demoPicture.width() + 8 && client.height() <= demoPicture.height() + 8);
    }
};

QTEST_MAIN(TestDesktopStartup)
#include "test_desktop_startup.moc"
