// The banner and the About box: their texts from the version block, the
// branded and the plain variant, the web link and the system-information
// button.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/about.h"
#include "app/splash.h"
#include "base/artwork.h"
#include "base/version.h"
#include "msgbox.h"

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &u) { urls.append(u); }
};

class TestSplash : public QObject {
    Q_OBJECT

    static QImage img(const QPixmap &p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); }
    // A web address a browser opens: http(s), a host with a dot, no blank.
    static bool webAddress(const QString &text)
    {
        const QUrl u(text, QUrl::StrictMode);
        return u.isValid() && (u.scheme() == QLatin1String("https") || u.scheme() == QLatin1String("http")) &&
               u.host().contains(QLatin1Char('.')) && !text.contains(QLatin1Char(' '));
    }

private slots:
    void versionBlock()
    {
        QCOMPARE(zk::version::fileVersion(), QStringLiteral("3.05.0004"));
        QCOMPARE(zk::version::productName(), QStringLiteral("Kestrova pour Windows"));
        QCOMPARE(zk::version::fileDescription(), QStringLiteral("Propagation radio et cartes virtuelles, gratuitiel"));
    }

    void plainBanner()
    {
        const QString company = QStringLiteral("Atelier Kestrova");
        zk::frmSplash s(nullptr, company);
        QCOMPARE(s.lblVersion()->text(), QStringLiteral("Version 3.5"));
        QCOMPARE(s.lblProductName()->text(), QStringLiteral("Kestrova pour Windows"));
        QCOMPARE(s.lblCompany()->text(), company);
        QCOMPARE(img(s.picLogo()->pixmap()), img(zk::artwork::programIcon()));
        QCOMPARE(s.picLogo()->pixmap().size(), QSize(32, 32));
        QVERIFY(s.image1()->isHidden());
        QVERIFY(s.palette().color(QPalette::Window) != QColor(Qt::white));
        QVERIFY(s.windowTitle().isEmpty());
    }

    void brandedBanner()
    {
        zk::frmSplash s(nullptr, QStringLiteral("QELTA, radio et cartes"));
        QCOMPARE(s.lblProductName()->text(), QStringLiteral("Kestrova pour Windows\nQELTA"));
        // The second line: " visitez " and the maker's web address.
        const QStringList lines = s.lblVersion()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Version 3.5"));
        QVERIFY2(lines[1].startsWith(QStringLiteral(" visitez ")), qPrintable(lines[1]));
        QVERIFY2(webAddress(lines[1].mid(9)), qPrintable(lines[1]));
        QCOMPARE(img(s.picLogo()->pixmap()), img(zk::artwork::organisationLogo()));
        QCOMPARE(img(s.logo()), img(zk::artwork::organisationLogo()));
        QCOMPARE(s.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void aboutTexts_data()
    {
        QTest::addColumn<QString>("company");
        QTest::newRow("plain") << "Atelier Kestrova";
        QTest::newRow("branded") << "QELTA";
    }
    void aboutTexts()
    {
        QFETCH(QString, company);
        zk::frmAbout a(nullptr, company);
        QCOMPARE(a.windowTitle(), QStringLiteral("À propos de Kestrova"));
        QCOMPARE(a.lblVersion()->text(), QStringLiteral("Version 3.5.4"));
        QCOMPARE(a.lblTitle()->text(), QStringLiteral("Kestrova"));
        QCOMPARE(a.lblDescription()->text(),
                 QStringLiteral("Propagation radio et cartes virtuelles, gratuitiel\n") + company);
        QVERIFY2(webAddress(a.label1()->text()), qPrintable(a.label1()->text()));
        QCOMPARE(a.cmdOK()->text(), QStringLiteral("OK"));
        QCOMPARE(a.cmdSysInfo()->text(), QStringLiteral("&Info système ..."));
    }

    // The maker has two addresses: the branded variant shows the first, in
    // the banner and in the About box alike, and the plain variant the other.
    void webAddressFollowsTheVariant()
    {
        const QString brandedCompany = QStringLiteral("QELTA, radio et cartes");
        zk::frmSplash banner(nullptr, brandedCompany);
        const QString visit = banner.lblVersion()->text().section(QStringLiteral(" visitez "), 1);
        zk::frmAbout branded(nullptr, brandedCompany);
        zk::frmAbout plain(nullptr, QStringLiteral("Atelier Kestrova"));
        QCOMPARE(branded.label1()->text(), visit);
        QVERIFY(webAddress(plain.label1()->text()));
        QVERIFY2(plain.label1()->text() != branded.label1()->text(), qPrintable(plain.label1()->text()));
        // The plain banner names no address at all.
        zk::frmSplash plainBanner(nullptr, QStringLiteral("Atelier Kestrova"));
        QVERIFY(!plainBanner.lblVersion()->text().contains(plain.label1()->text()));
        QVERIFY(!plainBanner.lblVersion()->text().contains(QStringLiteral("visitez")));
    }

    void systemInformationNotAvailable()
    {
        zk::MsgScript script;
        zk::frmAbout a(nullptr);
        a.show();
        QTest::mouseClick(a.cmdSysInfo(), Qt::LeftButton);
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].text, QStringLiteral("Information système non disponible"));
        QCOMPARE(script.shown()[0].flags, int(zk::mbOK));
        QCOMPARE(script.shown()[0].caption, QStringLiteral("Kestrova"));
        QVERIFY(a.isVisible());  // the box stays
    }

    void webLinkOpensAndCloses()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        zk::frmAbout a(nullptr, QStringLiteral("Atelier"));
        a.label1()->setText(QStringLiteral("HTTPS://Kestrova.Example.ORG/Page"));
        a.show();
        QTest::mouseClick(a.label1(), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0], QUrl(QStringLiteral("https://kestrova.example.org/page")));
        QVERIFY(!a.isVisible());
        QCOMPARE(a.result(), int(QDialog::Accepted));
    }

    void okCloses()
    {
        zk::frmAbout a(nullptr);
        a.show();
        QTest::mouseClick(a.cmdOK(), Qt::LeftButton);
        QVERIFY(!a.isVisible());
    }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
