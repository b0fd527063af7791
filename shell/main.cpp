// ZELKORfr: the main program.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "engine.h"
#include "msgbox.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setOrganizationName(QStringLiteral("Kestrova"));

    // Presence test of the engine library: callback with no hook answers 1.
    bool ok = false;
    if (zk::engine::callback(nullptr, &ok) != 1 || !ok) {
        zk::msgbox(QStringLiteral("ZELKOR32.DLL non trouvée"), zk::mbExclamation);
        return 1;
    }

    QMainWindow w;
    w.setObjectName(QStringLiteral("frmMain"));
    w.setWindowTitle(zk::appTitle());
    w.setCentralWidget(new QMdiArea(&w));
    w.resize(900, 650);
    w.show();
    return app.exec();
}
