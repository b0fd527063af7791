// Every window and dialog of both programs, opened on a desktop in the
// interface face: each caption shows whole in its control, each text box
// holds its text without scrolling it, and no two controls side by side
// overlap. A fault names the window, the control and the widths.
#include <QApplication>
#include <QDebug>
#include <QFontInfo>
#include <QTest>

#include <functional>
#include <memory>

#include "app/about.h"
#include "app/splash.h"
#include "captioncheck.h"
#include "desktopenv.h"
#include "map/frmCity.h"
#include "map/frmDMS.h"
#include "msgbox.h"
#include "pathviewer/form1.h"
#include "pictures/frmColors.h"
#include "pictures/frmCustom.h"
#include "pictures/frmFull.h"
#include "pictures/frmGrid.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmMerge.h"
#include "pictures/frmObject.h"
#include "pictures/frmPicPro.h"
#include "pictures/frmRotate.h"
#include "pictures/frmStrat.h"
#include "positions/frmDebug.h"
#include "positions/frmGPS.h"
#include "radio/frmCoverage.h"
#include "radio/frmLink.h"
#include "radio/frmNet.h"
#include "radio/frmReport.h"
#include "radio/frmUnit.h"
#include "radio/frmVisual.h"
#include "views3d/frm3Dpic.h"
#include "views3d/frmAnimate.h"
#include "views3d/frmObs.h"

// Makes the window; `owned` says whether the test deletes it (the program's
// single tool windows stay the program's own).
struct Make {
    std::function<QWidget *()> make;
    bool owned = true;
};
Q_DECLARE_METATYPE(Make)

class TestDesktopCaptions : public QObject {
    Q_OBJECT

    zk::frmMain *main_ = nullptr;

private slots:
    void initTestCase()
    {
        main_ = desktoptest::startOnDemo();
        QVERIFY2(main_, "the program did not start on the demo network");
    }

    // The face the programs choose is the one the windows get.
    void interfaceFace()
    {
        const QFontInfo info(QApplication::font());
        QVERIFY2(info.family() == QLatin1String("Liberation Sans"),
                 qPrintable(info.family() + QStringLiteral(": install the Debian package fonts-liberation")));
        QCOMPARE(QApplication::font().pointSizeF(), 8.0);
    }

    void everyWindow_data()
    {
        QTest::addColumn<Make>("make");
        auto *owner = main_;
        QTest::newRow("frmMain") << Make{[owner]() -> QWidget * { return owner; }, false};
        QTest::newRow("frmSplash") << Make{[owner]() -> QWidget * { return new zk::frmSplash(owner); }};
        QTest::newRow("frmAbout") << Make{[owner]() -> QWidget * { return new zk::frmAbout(owner); }};
        QTest::newRow("frmMapPro") << Make{[owner]() -> QWidget * { return new zk::frmMapPro(owner); }};
        QTest::newRow("frmDMS") << Make{[owner]() -> QWidget * { return new zk::frmDMS(owner); }};
        QTest::newRow("frmCity") << Make{[owner]() -> QWidget * { return new zk::frmCity(owner); }};
        QTest::newRow("frmGrid") << Make{[]() -> QWidget * { return zk::frmGrid::instance(); }, false};
        QTest::newRow("frmPicPro") << Make{[owner]() -> QWidget * { return new zk::frmPicPro(owner); }};
        QTest::newRow("frmColors") << Make{[owner]() -> QWidget * { return new zk::frmColors(owner); }};
        QTest::newRow("frmRotate") << Make{[owner]() -> QWidget * { return new zk::frmRotate(owner); }};
        QTest::newRow("frmCustom") << Make{[]() -> QWidget * { return zk::frmCustom::showDialog(); }, false};
        QTest::newRow("frmStrat") << Make{[owner]() -> QWidget * { return new zk::frmStrat(owner); }};
        QTest::newRow("frmMerge") << Make{[owner]() -> QWidget * { return new zk::frmMerge(owner); }};
        QTest::newRow("frmObject") << Make{[]() -> QWidget * { return zk::frmObject::showEditor(); }, false};
        QTest::newRow("frmObs") << Make{[owner]() -> QWidget * { return new zk::frmObs(owner); }};
        QTest::newRow("frmAnimate") << Make{[owner]() -> QWidget * { return new zk::frmAnimate(owner); }};
        QTest::newRow("frm3Dpic") << Make{[owner]() -> QWidget * { return new zk::frm3Dpic(owner); }};
        QTest::newRow("frmGPS") << Make{[owner]() -> QWidget * { return new zk::positions::frmGPS(owner); }};
        QTest::newRow("frmDebug") << Make{[owner]() -> QWidget * { return new zk::positions::frmDebug(owner); }};
        QTest::newRow("frmUnit") << Make{[owner]() -> QWidget * { return new zk::frmUnit(owner); }};
        QTest::newRow("frmVisual") << Make{[owner]() -> QWidget * { return new zk::frmVisual(owner); }};
        QTest::newRow("frmNet") << Make{[owner]() -> QWidget * { return new zk::frmNet(owner); }};
        QTest::newRow("frmCoverage") << Make{[owner]() -> QWidget * { return new zk::frmCoverage(owner); }};
        QTest::newRow("frmReport") << Make{[owner]() -> QWidget * { return new zk::frmReport(owner); }};
        QTest::newRow("frmLink") << Make{[owner]() -> QWidget * { return new zk::frmLink(owner); }};
        QTest::newRow("frmFull") << Make{[owner]() -> QWidget * { return new zk::frmFull(owner); }};
        QTest::newRow("Form1 (Zelpathfr)") << Make{[]() -> QWidget * { return new zk::pathviewer::Form1; }};
    }
    void everyWindow()
    {
        QFETCH(Make, make);
        zk::MsgScript script;  // a window that complains must not block the test
        QWidget *w = make.make();
        QVERIFY(w);
        std::unique_ptr<QWidget> owned(make.owned ? w : nullptr);
        // The main window at its built-in size (12000 x 9000 twips), the size
        // its status panes are laid out for.
        if (w == main_) main_->resize(800, 600);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(50);
        const QStringList faults = desktoptest::checkWindow(QString::fromLatin1(QTest::currentDataTag()), w);
        if (w != main_) w->hide();
        if (!make.owned && w != main_) w->close();
        for (const QString &f : faults) qWarning().noquote() << f;
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults (listed above), the first: %2").arg(faults.size()).arg(faults.value(0))));
    }
};

QTEST_MAIN(TestDesktopCaptions)
#include "test_desktop_captions.moc"
