// ZELKORfr: the main program.
#include <QApplication>

#include "app/startup.h"
#include "app/startup.h"
#include "msgbox.h"
#include "uisetup.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(zk::appTitle());
    QApplication::setOrganizationName(zk::appTitle());
    zk::ui::setUpInterface();

    zk::StartupOptions options;
    options.tail = zk::commandTail(QApplication::arguments());
    if (!zk::Main(options)) return 1;
    return app.exec();
}
