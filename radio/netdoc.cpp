#include "radio/netdoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

#include "base/hooks.h"
#include "base/routines.h"
#include "base/screen.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "map/mapservices.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "pictures/picfiles.h"
#include "radio/netdraw.h"

namespace zk {

namespace {

bool endsinnet(const QString &name) { return name.right(3).compare(QLatin1String("net"), Qt::CaseInsensitive) == 0; }

// Blanks around the quotes are dropped as well: a quoted name from a
// command line often comes with them.
QString unquoted(QString n)
{
    n = n.trimmed();
    if (n.endsWith(QLatin1Char('"'))) n.chop(1);
    if (n.startsWith(QLatin1Char('"'))) n.remove(0, 1);
    return n.trimmed();
}

void takename(const QString &name)
{
    settings.lastproject = name;
    writesetting(QStringLiteral("LastProject"), name);
    hooks::addmru(settings.lastproject);
}

QString damagetext(const QString &name, const NetRead &r)
{
    const QString what = r.badlength ? QStringLiteral("longueur incorrecte") : QStringLiteral("fin de fichier inattendue");
    return QStringLiteral("%1 est endommagé : %2 à l'octet %3.\r\nCe qui a pu être lu a été ouvert.")
        .arg(name, what)
        .arg(r.offset);
}

// The document before a read: what a part that cannot be read takes.
// Tables that are replaced start from a new document's records, the
// coverage settings and the map name from what is in memory.
NetDocument startingdocument()
{
    NetDocument d;
    for (int i = 1; i <= kUnits; ++i) d.units[size_t(i - 1)] = defaultunit(i);
    for (int i = 1; i <= kSystems; ++i) d.systems[size_t(i - 1)] = defaultsystem(i);
    for (int i = 1; i <= kNets; ++i) d.nets[size_t(i - 1)] = defaultnet(i);
    d.covset = covset;
    d.mapfile = toCp1252(mapfile);
    return d;
}

void applydocument(const NetDocument &d, const NetRead &r)
{
    for (int i = 1; i <= kUnits; ++i) units[i] = d.units[size_t(i - 1)];
    for (int i = 1; i <= kSystems; ++i) systems[i] = d.systems[size_t(i - 1)];
    for (int i = 1; i <= kNets; ++i) nets[i] = d.nets[size_t(i - 1)];
    if (r.mapname) mapfile = fromCp1252(d.mapfile);
    if (r.layout == NetLayout::Current && r.covset) covset = d.covset;
    std::copy(d.heights.begin(), d.heights.end(), netheight.data());
    std::copy(d.icons.begin(), d.icons.end(), uniticon.data());
    // Each picture as soon as its name is known: a picture that cannot be
    // found is skipped by openpicture.
    for (const QByteArray &p : d.pictures) openpicture(fromCp1252(p), 2);
}

// Opens the map a network file names. A map that cannot be opened leaves
// the flat grid just made, which is no terrain: no link is computed on it,
// and a map found nowhere is reported with the places it was looked for
// (where the file says, beside the network file, the program folder).
void openmapof(const QString &name, const QString &network)
{
    if (openmap(name)) return;
    mapmissing = true;
    const QString n = unquoted(name);
    if (n.isEmpty() || !findmapfile(n).isEmpty()) return;  // no map named, or one already refused as damaged
    msgbox(QStringLiteral("Carte introuvable : ") + QDir::toNativeSeparators(n) + QStringLiteral("\r\n") +
               QStringLiteral("Cherchée aussi à côté de ") + QDir::toNativeSeparators(network) +
               QStringLiteral(" et dans le dossier du programme.\r\n") +
               QStringLiteral("Les liaisons ne sont pas calculées sans carte."),
           mbExclamation | mbOK);
}

}  // namespace

NetDocument currentdocument()
{
    NetDocument d;
    for (int i = 1; i <= kUnits; ++i) d.units[size_t(i - 1)] = units[i];
    for (int i = 1; i <= kSystems; ++i) d.systems[size_t(i - 1)] = systems[i];
    for (int i = 1; i <= kNets; ++i) d.nets[size_t(i - 1)] = nets[i];
    d.covset = covset;
    d.mapfile = toCp1252(mapfile);
    for (frmPic *w : picwindows()) {
        if (w->windowTitle() == QLatin1String("Mappemonde")) continue;
        const QString f = w->Filename.trimmed();
        if (!f.isEmpty()) d.pictures.append(toCp1252(f));
    }
    std::copy(netheight.data(), netheight.data() + NetHeights::count(), d.heights.begin());
    std::copy(uniticon.begin(), uniticon.end(), d.icons.begin());
    return d;
}

void fitmaptounits(double screenWidth, double screenHeight)
{
    float xmax = -180, xmin = 180, ymax = -90, ymin = 90;
    int placed = 0;
    for (const UnitRecord &u : units) {
        if (u.lon == 0 || u.lat == 0) continue;
        // A position that is no position (a damaged file) would give the map
        // an extent of no use.
        if (!(std::fabs(u.lon) <= 540 && std::fabs(u.lat) <= 90)) continue;
        xmax = std::max(xmax, u.lon);
        xmin = std::min(xmin, u.lon);
        ymax = std::max(ymax, u.lat);
        ymin = std::min(ymin, u.lat);
        ++placed;
    }
    if (placed == 0) return;
    mapset.lon = (xmin + xmax) / 2;
    mapset.lat = (ymin + ymax) / 2;
    if (!(screenWidth > 0 && screenHeight > 0)) return;
    const double size = 120 * std::max(double(ymax - ymin),
                                       double(xmax - xmin) * std::cos(mapset.lat * 3.14159265358979 / 180) * screenHeight / screenWidth);
    if (size > 0) mapset.size = float(size);
}

void opennet(const QString &file)
{
    MapBusyCursor busy;
    QCoreApplication::processEvents();
    const QString name = unquoted(file);

    // The file is read whole before anything changes, so that a file that
    // cannot be read leaves the document as it was.
    const bool isnet = endsinnet(name);
    const QString path = isnet ? paths::resolve(name) : QString();
    const bool exists = isnet && !path.isEmpty() && QFileInfo::exists(path);
    NetDocument doc = startingdocument();
    NetRead r;
    if (exists) {
        QFile f(path);
        QByteArray bytes;
        bool ok = QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly);
        if (ok) {
            bytes = f.read(kMaxNetFileBytes);
            ok = f.error() == QFileDevice::NoError;
        }
        if (ok) r = readnetfile(bytes, doc);
        if (!ok || r.empty()) {
            const QString text = !ok || !r.damaged ? name + QStringLiteral(" impossible à ouvrir")
                                                   : damagetext(name, r).section(QStringLiteral("\r\n"), 0, 0);
            msgbox(text, mbExclamation | mbOK);
            return;
        }
    }

    // The name first: the map and the pictures are looked up beside it. A
    // file that is read makes its folder the current one, so a relative name
    // is made whole first (in the user's case): it must still name the file
    // afterwards, in the recent list and for the next save.
    QString kept = name;
    if (exists && QFileInfo(paths::normalize(name)).isRelative()) kept = QDir::current().absoluteFilePath(paths::normalize(name));
    takename(kept);
    if (exists) {
        if (r.layout != NetLayout::MapFile) applydocument(doc, r);
        fitmaptounits(screenWidthTwips(), screenHeightTwips());
        screengrid();
        // The fitted frame stands until a map file replaces it.
        setcorners(mapset);
        // The map a file names is looked for and reported; a file that
        // names none keeps the map name in memory, as before.
        if (r.mapname) openmapof(mapfile, kept);
        else openmap(mapfile);
        drawnets();
        const QString folder = pathof(paths::resolve(path));
        if (!folder.isEmpty()) QDir::setCurrent(folder);
    }
    netmodified = false;
    if (r.damaged) msgbox(damagetext(kept, r), mbExclamation | mbOK);
}

bool savenet(const QString &file)
{
    MapBusyCursor busy;
    QCoreApplication::processEvents();
    const QString name = file.trimmed();
    auto failed = [&] {
        msgbox(file + QStringLiteral(" impossible à enregistrer"), mbExclamation | mbOK);
        return false;
    };
    if (!endsinnet(name)) return failed();

    const QByteArray bytes = netfilebytes(currentdocument());
    // The old file stays whole until the new one is complete.
    QSaveFile f(paths::resolve(name));
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) ok = f.write(bytes) == bytes.size();
    if (ok) ok = f.commit();
    else if (f.isOpen()) f.cancelWriting();
    if (!ok) return failed();

    settings.lastproject = name;
    writesetting(QStringLiteral("LastProject"), name);
    netmodified = false;
    hooks::addmru(settings.lastproject);
    setpane("Label2", fileof(name) + QStringLiteral(" a été enregistré"));
    return true;
}

}  // namespace zk
