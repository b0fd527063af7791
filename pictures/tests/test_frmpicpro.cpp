// The picture-properties dialog frmPicPro driven through its controls, and
// the menu commands that open it: loading from the map and from the active
// picture, the live handlers, Apply, Cancel, the ADRG, 3D, stereo and
// colour buttons; "Nouvelle image" and "Propriétés de l'image".
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "base/dialogs.h"
#include "base/longop.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "picenv.h"
#include "pictures/colorscale.h"
#include "pictures/draw2d.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "pictures/frmPicPro.h"
#include "pictures/picfiles.h"
#include "pictures/picturemenus.h"
#include "pictures/view3d.h"

namespace {

void type(QLineEdit *t, const QString &text)
{
    t->selectAll();
    QTest::keyClicks(t, text);
}

bool red(const QLineEdit *t) { return t->palette().color(QPalette::Text) == QColor(255, 0, 0); }

void clickOption(QRadioButton *o) { QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2)); }

// Runs `act` on the next modal dialog once it is up.
void whenmodal(const char *name, std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [name, act] {
        QWidget *m = QApplication::activeModalWidget();
        QVERIFY2(m && m->objectName() == QLatin1String(name), name);
        act(m);
    });
}

bool g_fontAsked = false;
bool fontHook(zk::LogFont &) { return g_fontAsked = true; }

}  // namespace

class TestFrmPicPro : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    // A picture window drawn from the map as the map stands.
    zk::frmPic *mappicture()
    {
        zk::MsgScript quiet;
        zk::draw2d(nullptr, true);
        return zk::activepic();
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<zktest::TestMain>();
        zk::dialogHooks.font = &fontHook;
    }
    void cleanupTestCase()
    {
        zk::dialogHooks.font = nullptr;
        env.reset();
    }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        env->closeAll();
        zktest::setTestMap(60, 40);
        zk::runflag = 0;
        zk::newpic = false;
        zk::picprohooks = {};
        zk::mapfile = QStringLiteral("/cartes/Alpes.map");
        zk::mapset = MapSettings{};
        zk::mapset.Mapmode = 5;
        zk::mapset.con = 30;
        zk::mapset.bri = 70;
        zk::mapset.light = 335;
        zk::mapset.minx = 12.5f;
        zk::mapset.maxx = 2000;
        zk::mapset.hmin = 12.25f;
        zk::mapset.hmax = 2103;
        zk::mapset.hmoy = 800.06f;
        zk::mapset.size = 50;
        zk::mapcorners.city = 0;
        zk::settings.showobjects = false;
        zk::settings.drawtransparent = true;
        zk::settings.adrgdrive = QStringLiteral("C");
        zk::settings.objectdrive = QStringLiteral("D:/Objets");
        zk::colors = zk::defaultcolors();
    }

    void loadsTheMapWithoutAPicture()
    {
        zk::frmPicPro d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Propriétés de ..\\la nouvelle image"));
        QVERIFY(d.Option1[5]->isChecked());
        QCOMPARE(d.Option1[1]->text(), QStringLiteral("Couleurs stratifiées  (absolu)"));
        QCOMPARE(d.Text[1]->text(), QStringLiteral("12.50"));
        QCOMPARE(d.Text[2]->text(), QStringLiteral("2000.00"));
        QCOMPARE(d.Text[3]->text(), QStringLiteral("30"));
        QCOMPARE(d.Text[4]->text(), QStringLiteral("70"));
        QCOMPARE(d.Text[5]->text(), QStringLiteral("335"));
        QCOMPARE(d.Text[6]->text(), QStringLiteral("C"));
        QCOMPARE(d.Text[7]->text(), QStringLiteral("D:/Objets"));  // as typed, case kept
        QVERIFY(d.Command7->isEnabled());
        QVERIFY(!d.Check3->isChecked());
        QVERIFY(!d.Command4->isEnabled());
        QVERIFY(!d.Check5->isEnabled());
        QVERIFY(d.Check5->isChecked());
        QCOMPARE(d.Label[1]->text(),
                 QStringLiteral("Source des données d'altitude: /cartes/Alpes.map\r\n"
                                "Statistiques: Minimum 12.3 m - Maximum 2103.0 m - Moyenne 800.1 m\r\n"
                                "Ne corresponds pas aux données d'altitude en mémoire\r\n"
                                "Répertoire: "));
    }

    void statisticsUnderACommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        zk::frmPicPro d;
        QVERIFY(d.Label[1]->text().contains(QStringLiteral("Minimum 12,3 m - Maximum 2103,0 m")));
        QCOMPARE(d.Text[1]->text(), QStringLiteral("12,50"));
        type(d.Text[2], QStringLiteral("1500,5"));
        QCOMPARE(zk::editmap.maxx, 1500.5f);
    }

    // A picture of the map brings its own drawing values and is reported
    // as corresponding; one without statistics leaves the map's values.
    void loadsThePicturesValues()
    {
        zk::frmPic *w = mappicture();
        QVERIFY(w);
        w->Mapmode = 3;
        w->con = 55;
        w->city = 1;
        w->c2 = 2;
        w->Filename = QStringLiteral("/images/Alpes.bmp");
        {
            zk::frmPicPro d;
            QCOMPARE(d.windowTitle(), QStringLiteral("Propriétés de ..\\Alpes.bmp"));
            QVERIFY(d.Option1[3]->isChecked());
            QCOMPARE(d.Text[3]->text(), QStringLiteral("55"));
            QVERIFY(!d.Text[3]->isEnabled());  // X-ray: no contrast
            QVERIFY(!d.Text[4]->isEnabled());
            QVERIFY(!d.Command7->isEnabled());
            QVERIFY(d.Check3->isChecked());
            QCOMPARE(zk::editcorners.city, int16_t(-1));
            QVERIFY(d.Check4->isChecked());
            QVERIFY(!d.Check2->isChecked());
            const QStringList lines = d.Label[1]->text().split(QStringLiteral("\r\n"));
            QCOMPARE(lines[2], QStringLiteral("Corresponds aux données d'altitude en mémoire"));
            QCOMPARE(lines[3], QStringLiteral("Répertoire: /images/"));
        }
        w->hmax = w->hmin;
        zk::frmPicPro d;
        QVERIFY(d.Option1[5]->isChecked());
        QCOMPARE(d.Text[3]->text(), QStringLiteral("30"));
        // A new picture: the caption says so, but the correspondence is the
        // active picture's.
        zk::newpic = true;
        w->hmax = 999;
        zk::frmPicPro n;
        QCOMPARE(n.windowTitle(), QStringLiteral("Propriétés de ..\\la nouvelle image"));
        QVERIFY(n.Option1[5]->isChecked());
        QVERIFY(n.Label[1]->text().contains(QStringLiteral("\r\nCorresponds aux")));
    }

    void liveHandlers()
    {
        zk::frmPicPro d;
        clickOption(d.Option1[4]);
        QCOMPARE(zk::editmap.Mapmode, int16_t(4));
        QVERIFY(!d.Text[3]->isEnabled());
        QVERIFY(!d.Command7->isEnabled());
        clickOption(d.Option1[5]);
        QVERIFY(d.Text[3]->isEnabled());
        QVERIFY(d.Command7->isEnabled());
        clickOption(d.Option1[0]);
        QVERIFY(!d.Command7->isEnabled());

        type(d.Text[2], QStringLiteral("100000"));
        QVERIFY(red(d.Text[2]));
        QCOMPARE(zk::editmap.maxx, 99999.0f);
        type(d.Text[1], QStringLiteral("-1000"));
        QVERIFY(red(d.Text[1]));
        QCOMPARE(zk::editmap.minx, -999.0f);
        type(d.Text[5], QStringLiteral("400"));
        QCOMPARE(zk::editmap.light, 360.0f);
        type(d.Text[3], QStringLiteral("abc"));
        QCOMPARE(zk::editmap.con, 0.0f);

        // Police follows cities or objects; Transparent follows cities.
        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QVERIFY(d.Command4->isEnabled());
        QVERIFY(d.Check5->isEnabled());
        QTest::mouseClick(d.Check6, Qt::LeftButton);
        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QVERIFY(d.Command4->isEnabled());
        QVERIFY(!d.Check5->isEnabled());
        QTest::mouseClick(d.Check6, Qt::LeftButton);
        QVERIFY(!d.Command4->isEnabled());

        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QTest::mouseClick(d.Command4, Qt::LeftButton);
        QVERIFY(g_fontAsked);
    }

    void applyCopiesBack()
    {
        zk::frmPicPro d;
        QTest::mouseClick(d.Check2, Qt::LeftButton);
        QTest::mouseClick(d.Check4, Qt::LeftButton);
        QTest::mouseClick(d.Check1, Qt::LeftButton);
        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QTest::mouseClick(d.Check6, Qt::LeftButton);
        clickOption(d.Option1[2]);
        type(d.Text[7], QStringLiteral("  /Mes Objets  "));
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(zk::runflag, int16_t(1));
        QCOMPARE(zk::mapset.c1, uint8_t(1));
        QCOMPARE(zk::mapset.c2, uint8_t(3));
        QCOMPARE(zk::mapset.Mapmode, int16_t(2));
        QCOMPARE(zk::mapcorners.city, int16_t(-1));
        QVERIFY(zk::settings.showobjects);
        QCOMPARE(zk::settings.objectdrive, QStringLiteral("/Mes Objets"));
    }

    void cancelKeepsOnlyTransparency()
    {
        zk::runflag = 0;
        zk::frmPicPro d;
        d.show();
        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QTest::mouseClick(d.Check5, Qt::LeftButton);
        QVERIFY(!zk::settings.drawtransparent);  // at once
        clickOption(d.Option1[0]);
        QTest::keyClick(d.Text[1], Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(zk::mapset.Mapmode, int16_t(5));
        QCOMPARE(zk::mapcorners.city, int16_t(0));
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(!zk::settings.drawtransparent);
        zk::frmPicPro e;
        QTest::mouseClick(e.Command5, Qt::LeftButton);
        QCOMPARE(e.result(), int(QDialog::Rejected));
    }

    void stereoAppliesTheSwitchesOnly()
    {
        bool drawn = false;
        zk::picprohooks.drawstereo = [&drawn] { drawn = true; };
        zk::frmPicPro d;
        QTest::mouseClick(d.Check2, Qt::LeftButton);
        QTest::mouseClick(d.Check3, Qt::LeftButton);
        QTest::mouseClick(d.Check6, Qt::LeftButton);
        type(d.Text[7], QStringLiteral("E"));
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QVERIFY(drawn);
        QCOMPARE(zk::mapset.c2, uint8_t(1));
        QCOMPARE(zk::mapcorners.city, int16_t(-1));
        QVERIFY(!zk::settings.showobjects);
        QCOMPARE(zk::settings.objectdrive, QStringLiteral("D:/Objets"));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void adrgTakesItsRootAndTheWindow()
    {
        zk::frmPic *w = mappicture();
        QList<zk::frmPic *> got;
        zk::picprohooks.openadrg = [&got](zk::frmPic *p) { got << p; };
        {
            zk::frmPicPro d;
            type(d.Text[6], QStringLiteral(" /mnt/ADRG "));
            clickOption(d.Option1[0]);
            QTest::mouseClick(d.Command1, Qt::LeftButton);
        }
        QCOMPARE(zk::settings.adrgdrive, QStringLiteral("/mnt/ADRG"));
        QCOMPARE(zk::mapset.Mapmode, int16_t(5));  // nothing applied
        zk::newpic = true;
        {
            zk::frmPicPro d;
            QTest::mouseClick(d.Command1, Qt::LeftButton);
        }
        QCOMPARE(got, QList<zk::frmPic *>({w, nullptr}));
    }

    void threeDNeedsTheMapsPicture()
    {
        zk::MsgScript script;
        int shown = 0;
        zk::picprohooks.show3dpic = [&shown] { ++shown; };
        zk::new3d = 0;
        {
            script.answer(zk::idNo);
            zk::frmPicPro d;
            QTest::mouseClick(d.Command3, Qt::LeftButton);
        }
        QCOMPARE(zk::new3d, int16_t(-1));
        QCOMPARE(shown, 0);
        QCOMPARE(script.texts().size(), 1);
        mappicture();
        zk::frmPicPro d;
        QTest::mouseClick(d.Command3, Qt::LeftButton);
        QCOMPARE(shown, 1);
    }

    void coloursButtonOpensTheAltitudeScale()
    {
        zk::scalekind = 1;
        zk::frmPicPro d;
        d.show();
        QString header;
        whenmodal("frmColors", [&header](QWidget *m) {
            header = m->findChild<QLabel *>(QStringLiteral("Label1"))->text();
            m->close();
        });
        QTest::mouseClick(d.Command7, Qt::LeftButton);
        QCOMPARE(header, QStringLiteral("Altitude (m)"));
        QVERIFY(d.isVisible());  // the dialog stays open
    }

    // "Nouvelle image": applied, it draws into a new window; newpic is set
    // only while the dialog is up.
    void newPictureCommand()
    {
        zk::frmPic *w = mappicture();
        bool newWhileUp = false;
        whenmodal("frmPicPro", [&newWhileUp](QWidget *m) {
            newWhileUp = zk::newpic;
            auto *d = static_cast<zk::frmPicPro *>(m);
            clickOption(d->Option1[0]);
            QTest::mouseClick(d->Command2, Qt::LeftButton);
        });
        zk::mnuFileNewPic_Click();
        QVERIFY(newWhileUp);
        QVERIFY(!zk::newpic);
        QCOMPARE(zk::picwindows().size(), 2);
        QVERIFY(zk::activepic() != w);
        QCOMPARE(zk::activepic()->Mapmode, int16_t(0));
        QCOMPARE(w->Mapmode, int16_t(5));
        QCOMPARE(zk::runflag, int16_t(0));
        // Cancelled: nothing drawn.
        whenmodal("frmPicPro", [](QWidget *m) { m->close(); });
        zk::mnuFileNewPic_Click();
        QCOMPARE(zk::picwindows().size(), 2);
    }

    void picturePropertiesByKind()
    {
        // The world map is never redrawn in place.
        zk::frmPic *world = mappicture();
        world->setWindowTitle(QStringLiteral("Mappemonde"));
        whenmodal("frmPicPro", [](QWidget *m) {
            QTest::mouseClick(static_cast<zk::frmPicPro *>(m)->Command2, Qt::LeftButton);
        });
        zk::mnuFilePic_Click();
        QVERIFY(zk::newpic);
        QCOMPARE(zk::picwindows().size(), 2);
        zk::newpic = false;

        // A picture with corners of its own opens the calibration window.
        zk::frmPic *own = zk::openpicture(QString(), 2);
        own->Pictype = 2;
        zk::mnuFilePic_Click();
        QVERIFY(zk::frmCustom::loaded());
        zk::frmCustom::loaded()->close();

        // A station view has no properties; a 3D picture its own dialog.
        own->Pictype = 4;
        zk::mnuFilePic_Click();
        int threeD = 0;
        zk::picprohooks.show3dpic = [&threeD] { ++threeD; };
        zk::new3d = -1;
        own->Pictype = 3;
        zk::mnuFilePic_Click();
        QCOMPARE(threeD, 1);
        QCOMPARE(zk::new3d, int16_t(0));

        // No window at all: the 2D dialog, whose Apply draws a new picture.
        env->closeAll();
        whenmodal("frmPicPro", [](QWidget *m) {
            QTest::mouseClick(static_cast<zk::frmPicPro *>(m)->Command2, Qt::LeftButton);
        });
        zk::mnuFilePic_Click();
        QCOMPARE(zk::picwindows().size(), 1);
        QVERIFY(zk::issource2d(zk::activepic()));
    }
};

QTEST_MAIN(TestFrmPicPro)
#include "test_frmpicpro.moc"
