// The picture operations from the real main window's menus: each item is
// enabled and runs its command on the active picture, with the long
// operation's report in the message pane and the modal dialogs shown.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/cursor.h"
#include "pictures/fitmap.h"
#include "pictures/frmFull.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"

using zk::frmPic;

namespace {

const QColor kGreen(0, 128, 0);

// Runs `act` on the modal dialog that the next command opens, then closes it
// if it is still open.
void onModal(const std::function<void(QDialog *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d) return;
        act(d);
        if (d->isVisible()) d->reject();
    });
}

}  // namespace

class TestPictureOps : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    std::unique_ptr<zk::frmMain> w;

    QAction *item(const char *name) { return w->action(QLatin1String(name)); }

    frmPic *mapPicture()
    {
        frmPic *p = zk::openpicture(QString(), -1);
        zktest::mapCorners(p);
        p->Picture1->setPicture(zktest::pattern(201, 101));
        return p;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QApplication::setQuitOnLastWindowClosed(false);
        zk::paths::setUserFolder(tmp.path());
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova")).clear();
        zk::setScreenPixels(QSize(1280, 1024));
        w = std::make_unique<zk::frmMain>();
        w->resize(1000, 800);
        w->show();
        QCoreApplication::processEvents();
    }
    void cleanupTestCase()
    {
        w.reset();
        zk::paths::setUserFolder(QString());
    }
    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
    }
    void cleanup()
    {
        zk::runflag = 0;
        zk::fitmapshow = nullptr;
        if (zk::frmFull *f = zk::frmFull::loaded()) delete f;
        for (frmPic *p : zk::picwindows()) delete p;
        QCoreApplication::processEvents();
    }

    void itemsEnabled()
    {
        for (const char *name : {"mnuEditMerge", "mnuGR(1)", "mnuGR(2)", "mnuGR(3)", "mnuGR(4)", "mnuFlood", "mnuStrat",
                                 "mnuRot", "mnuProject", "mnuFixmap", "mnuViewWorld", "mnuViewFull"}) {
            QAction *a = item(name);
            QVERIFY2(a && a->isEnabled(), name);
        }
        QVERIFY(w->action(QStringLiteral("mnuGrll"))->isEnabled());
    }

    // The world map, a 10-degree grid on it, and the operation's report.
    void worldAndGrid()
    {
        item("mnuViewWorld")->trigger();
        auto *m = qobject_cast<frmPic *>(w->mdiArea()->activeSubWindow());
        QVERIFY(m);
        QCOMPARE(m->windowTitle(), QStringLiteral("Mappemonde"));
        zk::MsgScript script;
        script.answer(zk::idYes);
        item("mnuGR(1)")->trigger();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la grille dans l'image?")});
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
        QCOMPARE(m->Picture1->picture().pixelColor(360, 10), kGreen);  // 0 E
    }

    // A grid on a picture without corners: only the end of an operation that
    // never started.
    void gridWithoutCorners()
    {
        frmPic *p = zk::openpicture(QString(), -1);
        p->Pictype = 0;
        zk::MsgScript script;
        item("mnuGR(2)")->trigger();
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
    }

    void flood()
    {
        frmPic *p = mapPicture();
        zk::showcursor(0, 45);  // cell 100, 50 of the test map
        QCOMPARE(zk::curx, 100);
        zk::MsgScript script;
        script.answer(zk::idYes);
        item("mnuFlood")->trigger();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la couleur dans l'image?")});
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
        // The test map has no two neighbours alike: the one cell, in
        // RGB(0, 80, 160), at picture row 100 - 50.
        QCOMPARE(p->Picture1->picture().pixelColor(100, 50), QColor(0, 80, 160));
        QVERIFY(p->Picture1->picture().pixelColor(101, 50) != QColor(0, 80, 160));
    }

    void stratification()
    {
        frmPic *p = mapPicture();
        zk::MsgScript script;
        script.answer(zk::idNo);
        onModal([](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmStrat"));
            d->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("0"));
            d->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("0"));
            d->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        });
        item("mnuStrat")->trigger();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder les couleurs dans l'image?")});
        QCOMPARE(p->Picture1->image().pixelColor(0, 100), QColor(0, 0, 0));
    }

    void mergeDialog()
    {
        frmPic *a = mapPicture();
        frmPic *b = mapPicture();
        QImage black(201, 101, QImage::Format_RGBX8888);
        black.fill(Qt::black);
        b->Picture1->setPicture(black);
        onModal([](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmMerge"));
            d->findChild<QComboBox *>(QStringLiteral("Combo1(0)"))->setCurrentIndex(0);
            d->findChild<QPushButton *>(QStringLiteral("Command1(0)"))->click();
        });
        item("mnuEditMerge")->trigger();
        QCOMPARE(b->Picture1->picture().pixelColor(37, 12), a->Picture1->picture().pixelColor(37, 12));
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
    }

    void rotateAndProject()
    {
        // No picture: the rotation dialog does not open.
        bool opened = false;
        onModal([&opened](QDialog *) { opened = true; });
        item("mnuRot")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!opened);

        frmPic *p = mapPicture();
        onModal([](QDialog *d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmRotate"));
            d->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("90"));
            d->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        });
        item("mnuRot")->trigger();
        frmPic *r = zk::activepic();
        QVERIFY(r && r != p);
        QCOMPARE(r->Picture1->scaleWidth(), 101);

        w->mdiArea()->setActiveSubWindow(p);
        item("mnuProject")->trigger();
        frmPic *q = zk::activepic();
        QVERIFY(q && q != p && q != r);
        QCOMPARE(q->Pictype, int16_t(2));
        QCOMPARE(q->lat1, 50.0f);
    }

    void fitAndFull()
    {
        frmPic *p = mapPicture();
        QString height;
        zk::fitmapshow = [&height](zk::frmMapPro &d) { height = d.Text6->text(); };
        item("mnuFixmap")->trigger();
        QCOMPARE(height, QStringLiteral("1111.25"));

        item("mnuViewFull")->trigger();
        zk::frmFull *f = zk::frmFull::loaded();
        QVERIFY(f);
        QCOMPARE(f->source.data(), p);
        QCOMPARE(f->imageSize(), QSize(201, 101));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestPictureOps)
#include "test_pictureops.moc"
