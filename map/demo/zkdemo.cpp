// zkdemo: makes the demo terrain data set and points the data roots at it.
//
//   zkdemo --out <folder> [--force] [--roots]
//
// The set is written once (a stamp file records its version) unless --force
// is given; --roots sets DRV0..DRV2 to the folder when they still hold the
// default "C".
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include "map/demo/demodata.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    bool force = false, roots = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) out = args[++i];
        else if (args[i] == QLatin1String("--force")) force = true;
        else if (args[i] == QLatin1String("--roots")) roots = true;
        else {
            std::fprintf(stderr, "usage: zkdemo --out <folder> [--force] [--roots]\n");
            return 2;
        }
    }
    if (out.isEmpty()) {
        std::fprintf(stderr, "usage: zkdemo --out <folder> [--force] [--roots]\n");
        return 2;
    }
    QDir().mkpath(out);
    QString folder = QFileInfo(out).absoluteFilePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');

    if (force || !zk::demo::demouptodate(folder)) {
        std::printf("Writing the demo terrain data into %s ...\n", qPrintable(folder));
        std::fflush(stdout);
        if (!zk::demo::writedemodata(folder, [](const QString &s) { std::printf("  %s\n", qPrintable(s)); })) {
            std::fprintf(stderr, "zkdemo: could not write the demo data into %s\n", qPrintable(folder));
            return 1;
        }
    }
    if (roots) {
        if (zk::demo::pointroots(folder))
            std::printf("The data roots DRV0..DRV2 point at %s\n", qPrintable(folder));
        else
            std::printf("Data roots of your own are kept; the demo data is in %s\n", qPrintable(folder));
    }
    return 0;
}
