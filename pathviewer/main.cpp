// Zelpathfr: the path viewer. Shows the one radio path of the path file
// named on its command line; the main program starts it after exporting.
#include <QApplication>

#include "form1.h"
#include "uisetup.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(zk::pathviewer::viewerTitle());
    zk::ui::setUpInterface();

    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty()) args.removeFirst();

    zk::pathviewer::Form1 form;
    form.start(zk::pathviewer::commandTail(args));
    form.show();
    form.setFocus();
    return app.exec();
}
