// Stratification and flooding on the 2D picture of the test map, and the
// stratification dialog: which pixels get the colour, the selection's
// bounds, the keep question, stopping, and a flood that never changes the
// elevation grid (whatever values it holds and wherever the cursor is).
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "base/controls.h"
#include "base/dialogs.h"
#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "picenv.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/frmStrat.h"
#include "pictures/picfiles.h"
#include "pictures/strat.h"

using zk::frmPic;

namespace {

using Cells = std::set<std::pair<int, int>>;

constexpr uint32_t kColour = 0x3020F0;  // RGB(240, 32, 48)
const QColor kQColour(240, 32, 48);

// Asks the running operation to stop at its first event pass once it has
// started (before that, the request waits for the next pass).
class StopWhenRunning : public QObject {
public:
    explicit StopWhenRunning(int16_t op) : op_(op) { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    bool stopped = false;
    int passes = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User) return QObject::event(e);
        if (zk::runflag == op_) {
            zk::runflag = 0;
            stopped = true;
        } else if (!stopped && ++passes < 1000) {
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return true;
    }

private:
    int16_t op_;
};

// The cells whose picture pixel has the colour (pixel row y is grid row
// ubound2 - y).
Cells painted(const QImage &img)
{
    Cells out;
    const int uy = zk::elevgrid.ubound2();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == kQColour) out.insert({x, uy - y});
    return out;
}

Cells maskcells(const std::vector<uint8_t> &mask)
{
    Cells out;
    const int nx = zk::elevgrid.nx();
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) out.insert({int(i % size_t(nx)), int(i / size_t(nx))});
    return out;
}

std::vector<int16_t> gridcopy() { return {zk::elevgrid.data(), zk::elevgrid.data() + zk::elevgrid.cellCount()}; }

// A grid of nx x ny cells, all different (1000 + 10 x + y), with the listed
// cells set to the value.
void plateaugrid(int nx, int ny, const Cells &cells, int16_t value)
{
    zk::elevgrid.redim(nx - 1, ny - 1);
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x) zk::elevgrid.at(x, y) = int16_t(1000 + 10 * x + y);
    for (const auto &[x, y] : cells) zk::elevgrid.at(x, y) = value;
}

}  // namespace

class TestStrat : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    // The 2D picture of the map in memory: one pixel a cell, the map's
    // corners, current.
    frmPic *mapPicture()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1->setPicture(zktest::pattern(zk::elevgrid.nx(), zk::elevgrid.ny()));
        zk::curpic = w;
        return w;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        // The stratification keys start absent.
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        for (const char *k : {"Strath1", "Strath2", "Stratcol"}) store.remove(QStringLiteral("Settings/") + QLatin1String(k));
        store.sync();
        zktest::setTestMap();
        zk::runflag = 0;
        zk::curx = zk::cury = 0;
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        zk::dialogHooks = zk::DialogHooks{};
        env->closeAll();
    }

    // The band and the selection (test map: elevation 10 x + y).
    void stratify_data()
    {
        QTest::addColumn<float>("lo");
        QTest::addColumn<float>("hi");
        QTest::addColumn<QRect>("selection");  // null: none
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<QPoint>>("cells");
        QTest::newRow("sea level only") << 0.0f << 0.0f << QRect() << 1 << QList<QPoint>{{0, 0}};
        // For each column x the rows 100 - 10 x .. 110 - 10 x within 0..100.
        QTest::newRow("100..110") << 100.0f << 110.0f << QRect() << 1 + 11 * 10 + 1
                                  << QList<QPoint>{{0, 100}, {1, 90}, {5, 55}, {10, 0}, {10, 10}, {11, 0}};
        QTest::newRow("minimum above maximum") << 10.0f << 5.0f << QRect() << 0 << QList<QPoint>{};
        // Columns 5..14, picture rows 95..100 (grid rows 0..5): right and
        // bottom edges of the rectangle excluded.
        QTest::newRow("selection") << -1.0e6f << 1.0e6f << QRect(5, 95, 10, 6) << 60
                                   << QList<QPoint>{{5, 0}, {14, 5}};
        QTest::newRow("selection beyond the picture") << -1.0e6f << 1.0e6f << QRect(195, 98, 20, 10) << 18
                                                      << QList<QPoint>{{200, 0}, {195, 2}};
    }
    void stratify()
    {
        QFETCH(float, lo);
        QFETCH(float, hi);
        QFETCH(QRect, selection);
        QFETCH(int, count);
        QFETCH(QList<QPoint>, cells);
        frmPic *w = mapPicture();
        if (!selection.isNull()) {
            w->Shape2->setGeometry(selection);
            w->Shape2->show();
        }
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::stratify(lo, hi, kColour);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder les couleurs dans l'image?")});
        QCOMPARE(zk::runflag, int16_t(0));
        const Cells got = painted(w->Picture1->image());
        QCOMPARE(int(got.size()), count);
        for (const QPoint &c : cells) QVERIFY2(got.count({c.x(), c.y()}), qPrintable(QStringLiteral("%1,%2").arg(c.x()).arg(c.y())));
        // Not kept: the picture itself has no colour.
        QVERIFY(painted(w->Picture1->picture()).empty());
    }

    void stratifyKept()
    {
        frmPic *w = mapPicture();
        zk::MsgScript script;
        script.answer(zk::idYes);
        zk::stratify(0, 0, kColour);
        QCOMPARE(painted(w->Picture1->picture()), (Cells{{0, 0}}));
    }

    // Stopped: the rows painted so far stay, no question.
    void stratifyStopped()
    {
        frmPic *w = mapPicture();
        zk::MsgScript script;
        StopWhenRunning stop(zk::opdraw2d);
        zk::stratify(-1.0e6f, 1.0e6f, kColour);
        QVERIFY(stop.stopped);
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
        const Cells got = painted(w->Picture1->image());
        QVERIFY(!got.empty());
        QVERIFY(got.size() < size_t(201 * 101));
        QVERIFY(got.count({0, 100}));  // the top row came first
    }

    // No current picture: the operation just ends.
    void stratifyNoPicture()
    {
        zk::curpic = nullptr;
        zk::MsgScript script;
        zk::stratify(0, 10, kColour);
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // The dialog: its settings, the colour, "Exécute".
    void stratDialog()
    {
        zk::writesetting(QStringLiteral("Strath1"), QStringLiteral("0"));
        zk::writesetting(QStringLiteral("Strath2"), QStringLiteral("110"));
        zk::writesetting(QStringLiteral("Stratcol"), QStringLiteral("255"));
        frmPic *w = mapPicture();
        zk::frmStrat dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Stratification de l'image"));
        QCOMPARE(dlg.Label1->text(), QStringLiteral("Altitude minimale (m)"));
        QCOMPARE(dlg.Label2->text(), QStringLiteral("Altitude maximale (m)"));
        QCOMPARE(dlg.Command1->text(), QStringLiteral("Couleur"));
        QCOMPARE(dlg.Command2->text(), QStringLiteral("Exécute"));
        QCOMPARE(dlg.Text1->text(), QStringLiteral("0"));
        QCOMPARE(dlg.Text2->text(), QStringLiteral("110"));
        QCOMPARE(dlg.colour(), 0xFFu);
        QCOMPARE(dlg.Text2->selectedText(), QStringLiteral("110"));

        // "Couleur" starts from the swatch.
        zk::dialogHooks.color = [](uint32_t initial, const uint32_t *, uint32_t &chosen) {
            if (initial != 0xFF) return false;
            chosen = kColour;
            return true;
        };
        dlg.Command1->click();
        QCOMPARE(dlg.colour(), kColour);
        QCOMPARE(dlg.Shape1->fillColor(), kQColour);

        dlg.Text2->setText(QStringLiteral("5"));
        zk::MsgScript script;
        script.answer(zk::idNo);
        dlg.show();
        dlg.Command2->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(script.texts().size(), 1);
        QCOMPARE(painted(w->Picture1->image()), (Cells{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}));
        QCOMPARE(zk::readsetting(QStringLiteral("Strath2"), "1"), QStringLiteral("5"));
        QCOMPARE(zk::readsetting(QStringLiteral("Stratcol"), 0), QString::number(kColour));
    }

    // Defaults, and a band that is not a number: the settings are stored,
    // nothing is painted, nothing asked.
    void stratDialogNotNumbers()
    {
        frmPic *w = mapPicture();
        {
            zk::frmStrat dlg;
            QCOMPARE(dlg.Text1->text(), QStringLiteral("1"));
            QCOMPARE(dlg.Text2->text(), QStringLiteral("1"));
            QCOMPARE(dlg.colour(), 0u);
        }
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        zk::frmStrat dlg;
        dlg.Text1->setText(QStringLiteral("bas"));
        dlg.Text2->setText(QStringLiteral("2,5"));
        zk::MsgScript script;
        dlg.Command2->click();
        QVERIFY(script.texts().isEmpty());
        QVERIFY(painted(w->Picture1->image()).empty());
        QCOMPARE(zk::readsetting(QStringLiteral("Strath1"), "1"), QStringLiteral("bas"));
        QCOMPARE(zk::readsetting(QStringLiteral("Strath2"), "1"), QStringLiteral("2,5"));
    }

    // The sweep on its own: which cells it takes.
    void floodArea_data()
    {
        QTest::addColumn<QList<QPoint>>("plateau");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QList<QPoint>>("expected");
        QTest::newRow("a lone cell") << QList<QPoint>{} << QPoint(5, 5) << QList<QPoint>{{5, 5}};
        QTest::newRow("a winding plateau")
            << QList<QPoint>{{3, 3}, {4, 4}, {5, 4}, {6, 5}, {6, 6}, {5, 7}, {4, 8}, {3, 8}, {9, 9}}
            << QPoint(3, 3)
            << QList<QPoint>{{3, 3}, {4, 4}, {5, 4}, {6, 5}, {6, 6}, {5, 7}, {4, 8}, {3, 8}};
        QTest::newRow("back towards the start")
            << QList<QPoint>{{8, 8}, {7, 7}, {6, 6}, {5, 5}, {4, 4}, {3, 5}, {2, 6}, {2, 7}}
            << QPoint(2, 7)
            << QList<QPoint>{{8, 8}, {7, 7}, {6, 6}, {5, 5}, {4, 4}, {3, 5}, {2, 6}, {2, 7}};
        // Border cells are painted when they neighbour a marked inner cell,
        // but the area does not grow along the border.
        QTest::newRow("along the border")
            << QList<QPoint>{{3, 5}, {2, 5}, {1, 5}, {0, 4}, {0, 3}, {0, 2}, {1, 2}} << QPoint(3, 5)
            << QList<QPoint>{{3, 5}, {2, 5}, {1, 5}, {0, 4}};
        QTest::newRow("start on the border") << QList<QPoint>{{0, 5}, {1, 6}, {2, 7}} << QPoint(0, 5)
                                             << QList<QPoint>{{0, 5}, {1, 6}, {2, 7}};
    }
    void floodArea()
    {
        QFETCH(QList<QPoint>, plateau);
        QFETCH(QPoint, start);
        QFETCH(QList<QPoint>, expected);
        Cells cells;
        for (const QPoint &p : plateau) cells.insert({p.x(), p.y()});
        plateaugrid(12, 12, cells, 77);
        const auto before = gridcopy();
        Cells want;
        for (const QPoint &p : expected) want.insert({p.x(), p.y()});
        Cells seen;
        zk::FloodSteps steps;
        steps.paint = [&](int32_t x, int32_t y) { QVERIFY(seen.insert({x, y}).second); };
        QCOMPARE(maskcells(zk::floodarea(zk::elevgrid, start.x(), start.y(), steps)), want);
        QCOMPARE(seen, want);
        QVERIFY(gridcopy() == before);
    }

    // A flat grid floods whole.
    void floodFlat()
    {
        zk::elevgrid.redim(30, 20);
        const auto mask = zk::floodarea(zk::elevgrid, 15, 10);
        QCOMPARE(int(std::count(mask.begin(), mask.end(), 1)), 31 * 21);
    }

    // Values that the old marker used, a start cell off the grid: the sweep
    // ends and never writes the grid.
    void floodMarkers_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("count");
        QTest::newRow("clicked plateau of -5555") << -5555 << QPoint(5, 5) << 4;
        QTest::newRow("-5555 elsewhere") << -5555 << QPoint(1, 1) << 1;
        QTest::newRow("cursor west of the grid") << -5555 << QPoint(-1, 5) << 0;
        QTest::newRow("cursor north of the grid") << 0 << QPoint(3, 12) << 0;
    }
    void floodMarkers()
    {
        QFETCH(int, value);
        QFETCH(QPoint, start);
        QFETCH(int, count);
        plateaugrid(12, 12, {{5, 5}, {6, 6}, {6, 7}, {5, 8}}, int16_t(value));
        const auto before = gridcopy();
        int rows = 0;
        zk::FloodSteps steps;
        steps.rowend = [&] { QVERIFY(++rows < 100000); };
        const auto mask = zk::floodarea(zk::elevgrid, start.x(), start.y(), steps);
        QCOMPARE(int(std::count(mask.begin(), mask.end(), 1)), count);
        QVERIFY(gridcopy() == before);
    }

    // flood on the 2D picture: the cursor cell's area in the colour, the
    // question, and the grid as it was.
    void flood()
    {
        const Cells plateau = {{40, 30}, {41, 31}, {42, 31}, {43, 30}, {44, 29}, {0, 0}};
        plateaugrid(201, 101, plateau, -5555);
        const auto before = gridcopy();
        frmPic *w = mapPicture();
        zk::curx = 41;
        zk::cury = 31;
        zk::MsgScript script;
        script.answer(zk::idYes);
        zk::flood(kColour);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la couleur dans l'image?")});
        QCOMPARE(zk::runflag, int16_t(0));
        Cells want = plateau;
        want.erase({0, 0});
        QCOMPARE(painted(w->Picture1->picture()), want);
        QVERIFY(gridcopy() == before);
    }

    // A stopped flood still asks, and leaves the grid as it was.
    void floodStopped()
    {
        zk::elevgrid.redim(200, 100);  // flat: a long sweep
        const auto before = gridcopy();
        mapPicture();
        zk::curx = 100;
        zk::cury = 50;
        zk::MsgScript script;
        script.answer(zk::idNo);
        StopWhenRunning stop(zk::opdraw2d);
        zk::flood(kColour);
        QVERIFY(stop.stopped);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la couleur dans l'image?")});
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(gridcopy() == before);
    }

    // Without a 2D picture of the map, and the user declining to draw one:
    // nothing runs.
    void floodNoPicture()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::flood(kColour);
        QCOMPARE(script.texts(),
                 QStringList{QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?")});
        QCOMPARE(zk::runflag, int16_t(0));
    }
};

QTEST_MAIN(TestStrat)
#include "test_strat.moc"
