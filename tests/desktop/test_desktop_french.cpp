// Qt's own texts in French, as both programs set them up at start-up: the
// standard buttons of a message box and the labels and buttons of the open
// and save dialogs. The expected words are those of Qt's French catalogue
// (Debian package qt6-translations-l10n).
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "base/dialogs.h"
#include "desktopenv.h"
#include "uisetup.h"

namespace {
QString labelText(QWidget *d, const char *name)
{
    auto *l = d->findChild<QLabel *>(QLatin1String(name));
    return l ? l->text() : QStringLiteral("(no %1)").arg(QLatin1String(name));
}
}  // namespace

class TestDesktopFrench : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        zk::ui::setUpInterface();
        QVERIFY2(!QCoreApplication::translate("QPlatformTheme", "Cancel").startsWith(QLatin1String("Cancel")),
                 "Qt's French texts are not loaded: install the Debian package qt6-translations-l10n");
    }

    void messageBoxButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Yes") << int(QMessageBox::Yes) << QStringLiteral("&Oui");
        QTest::newRow("No") << int(QMessageBox::No) << QStringLiteral("&Non");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << QStringLiteral("Annuler");
        QTest::newRow("Close") << int(QMessageBox::Close) << QStringLiteral("Fermer");
        QTest::newRow("Save") << int(QMessageBox::Save) << QStringLiteral("Enregistrer");
    }
    void messageBoxButtons()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Kestrova"), QStringLiteral("?"),
                        QMessageBox::StandardButton(button));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.button(QMessageBox::StandardButton(button))->text(), text);
    }

    // The program's own open and save dialogs, shown and read while open.
    void fileDialogs_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("accept");
        QTest::newRow("open") << false << QStringLiteral("&Ouvrir");
        QTest::newRow("save") << true << QStringLiteral("&Enregistrer");
    }
    void fileDialogs()
    {
        QFETCH(bool, save);
        QFETCH(QString, accept);
        bool seen = false;
        QString look, name, type, ok, cancel;
        QTimer::singleShot(0, [&] {
            QFileDialog *d = nullptr;
            for (int i = 0; i < 250 && !d; ++i) {
                d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (!d) QTest::qWait(20);
            }
            if (!d) return;
            seen = true;
            look = labelText(d, "lookInLabel");
            name = labelText(d, "fileNameLabel");
            type = labelText(d, "fileTypeLabel");
            if (auto *box = d->findChild<QDialogButtonBox *>()) {
                for (QAbstractButton *b : box->buttons()) {
                    if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) ok = b->text();
                    if (box->buttonRole(b) == QDialogButtonBox::RejectRole) cancel = b->text();
                }
            }
            d->reject();
        });
        const QString chosen = save ? zk::getsavefile(nullptr, QString(), QStringLiteral("Réseau"), QStringLiteral("*.net"),
                                                      QStringLiteral("Enregistrer"), QStringLiteral("net"))
                                    : zk::getopenfile(nullptr, QString(), QStringLiteral("Réseau"), QStringLiteral("*.net"),
                                                      QStringLiteral("Ouvrir"), QStringLiteral("net"));
        QVERIFY(chosen.isEmpty());
        QVERIFY2(seen, "no file dialog was shown");
        QCOMPARE(look, QStringLiteral("Voir dans :"));
        QCOMPARE(name, QStringLiteral("&Nom de fichier :"));
        QCOMPARE(type, QStringLiteral("Fichiers de type :"));
        QCOMPARE(ok, accept);
        QCOMPARE(cancel, QStringLiteral("Annuler"));
    }
};

QTEST_MAIN(TestDesktopFrench)
#include "test_desktop_french.moc"
