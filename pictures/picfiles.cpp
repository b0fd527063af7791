#include "picfiles.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QMdiArea>
#include <QSaveFile>
#include <QScrollBar>

#include <cmath>
#include <optional>

#include "base/mdi.h"
#include "base/routines.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/calibration.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "qtdc.h"

namespace zk {

namespace {

int g_untitled = 0;

// Pictures above this many pixels are not loaded: 256 MB once in 32 bits a
// pixel, as much as Qt's image readers allocate by default.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// The hourglass for the lifetime of the object (only with a GUI).
class BusyCursor {
public:
    BusyCursor()
    {
        if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            set_ = true;
        }
    }
    ~BusyCursor()
    {
        if (set_) QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool set_ = false;
};

bool fileExists(const QString &name) { return paths::exists(name); }

QString caption(const QString &name) { return QStringLiteral("..\\") + fileof(name); }

// Comparison of two picture names: separators and case do not count.
bool sameName(const QString &a, const QString &b)
{
    return paths::normalize(a).compare(paths::normalize(b), Qt::CaseInsensitive) == 0;
}

int16_t toInt16(float v)
{
    if (!std::isfinite(v) || std::fabs(v) > 32767.0f) return 0;
    return int16_t(std::nearbyint(v));
}

uint8_t toByte(float v)
{
    if (!std::isfinite(v) || v < -0.5f || v >= 255.5f) return 0;
    return uint8_t(std::nearbyint(v));
}

std::optional<QByteArray> readSmallFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    // One byte over the limit is enough to know the file is too large.
    return f.read(kMaxCalibrationBytes + 1);
}

}  // namespace

int untitledcount() { return g_untitled; }

QImage loadimage(const QString &path, QString *error)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * qint64(size.height()) > kMaxPixels) {
        if (error) *error = QStringLiteral("image trop grande");
        return QImage();
    }
    QImage img = reader.read();
    if (img.isNull()) {
        if (error) *error = reader.errorString();
        return img;
    }
    toDcFormat(img);
    return img;
}

frmPic *openpicture(QString name, int kind)
{
    // The name as typed on a command line: one trailing, then one leading
    // double quote, and blanks. The case is kept: names are compared and
    // looked up without regard to it.
    if (name.endsWith(QLatin1Char('"'))) name.chop(1);
    if (name.startsWith(QLatin1Char('"'))) name.remove(0, 1);
    name = name.trimmed();

    // Lookup: as given, in the folder of the last network file, then in the
    // program folder; the last candidate stands even when it does not exist.
    if (!name.isEmpty()) {
        if (fileExists(name)) {
            name = paths::resolve(name);
        } else {
            QString cand = pathof(settings.lastproject) + fileof(name);
            if (!fileExists(cand)) cand = paths::programFolder() + QLatin1Char('/') + fileof(name);
            name = fileExists(cand) ? paths::resolve(cand) : cand;
        }
        if (kind >= 0 && !fileExists(name)) return nullptr;
    }

    const BusyCursor busy;

    frmPic *w = nullptr;
    if (!name.isEmpty()) {
        for (frmPic *p : picwindows())
            if (p->windowTitle() != QLatin1String("Mappemonde") && sameName(p->Filename.trimmed(), name)) {
                w = p;
                break;
            }
    }
    bool load = kind >= 0;
    if (name.isEmpty()) {
        ++g_untitled;
        name = QStringLiteral("Image%1.bmp").arg(g_untitled);
        load = false;
    }
    const bool created = !w;
    if (created) {
        w = new frmPic;
        w->source = QStringLiteral("Image utilisateur");
    }

    w->Pictype = int16_t(std::clamp(kind, -32768, 32767));
    w->Filename = name;
    w->setWindowTitle(caption(name));

    std::optional<PicCalibration> cal;
    QString report;
    if (!load) {
        w->Picture1->resetPicture();
        w->Picture1->setBoxSize(elevgrid.nx(), elevgrid.ny());
    } else {
        w->hide();
        QString why;
        const QImage img = loadimage(paths::resolve(name), &why);
        if (!img.isNull()) {
            w->Picture1->setPicture(img);
        } else {
            w->Picture1->resetPicture();
            report = QStringLiteral("Image illisible: ") + name;
        }
        if (w->Pictype == 2) w->Pictype = 0;
        const QString dat = companionName(name, QStringLiteral("dat"));
        const QString adr = companionName(name, QStringLiteral("adr"));
        QString error;
        if (fileExists(dat)) {
            if (const auto bytes = readSmallFile(paths::resolve(dat))) cal = readPicCalibration(*bytes, &error);
            else error = QStringLiteral("lecture impossible");
            if (!cal) report += (report.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                                QStringLiteral("Fichier de calibration endommagé (") + error + QStringLiteral("): ") + dat;
        } else if (fileExists(adr)) {
            if (const auto bytes = readSmallFile(paths::resolve(adr))) cal = readAdrCalibration(*bytes, &error);
            else error = QStringLiteral("lecture impossible");
            if (!cal) report += (report.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                                QStringLiteral("Fichier de calibration endommagé (") + error + QStringLiteral("): ") + adr;
        }
        if (cal) {
            w->Pictype = cal->Pictype;
            if (!cal->source.isNull()) w->source = cal->source;
        }
    }

    if (w->Pictype < 0) w->Pictype = 1;
    curpic = w;
    const PicCalibration c = cal.value_or(PicCalibration{});
    setpiccorners(w, c.lon, c.lat);
    const auto &v = c.values;
    if (w->Pictype == 1) {
        w->Mapmode = toInt16(v[0]);
        w->maxx = v[1];
        w->minx = v[2];
        w->light = v[3];
        w->con = v[4];
        w->bri = v[5];
        w->c1 = toByte(v[6]);
        w->c2 = toByte(v[7]);
        w->city = toByte(v[8]);
        w->hmin = v[9];
        w->hmax = v[10];
        w->hmoy = v[11];
    } else if (w->Pictype == 3) {
        w->amplx = v[0];
        w->phi = v[1];
        w->theta = v[2];
        w->disto = v[3];
        w->aper = v[4];
        w->size = v[5];
        w->ofx = v[6];
        w->ofy = v[7];
        w->w3 = v[8];
        w->h3 = v[9];
        w->q3 = v[10];
    }

    QMdiArea *area = mdiArea();
    if (created && area) area->addSubWindow(w);
    arrangepic(w);
    w->show();
    if (created && area) {
        // A new window shows its whole picture when the area has room for
        // it. Its frame (title bar and borders) is known once it is shown.
        const QMargins m = w->contentsMargins();
        const QSize frame(m.left() + m.right(), m.top() + m.bottom());
        const QSize want = QSize(w->Picture1->width(), w->Picture1->height()) + frame;
        w->resize(want.boundedTo(area->viewport()->size()).expandedTo(QSize(120, 80)));
    }
    if (area) area->setActiveSubWindow(w);
    arrangepic(w);
    if (w->VScroll1->isVisibleTo(w)) w->VScroll1->setValue(w->VScroll1->maximum() / 2);
    if (w->HScroll1->isVisibleTo(w)) w->HScroll1->setValue(w->HScroll1->maximum() / 2);
    w->Picture1->setFocus();

    if (!report.isEmpty()) msgbox(report, mbExclamation);
    return w;
}

void opencompanion(const QString &picture)
{
    frmPic *w = openpicture(picture, 1);
    if (!w) return;
    curpic = w;
    setpiccorners(w, mapcorners.lon, mapcorners.lat);
}

bool savepicture(frmPic *w, const QString &name)
{
    if (!w || name.trimmed().isEmpty()) return false;
    const bool bmp = name.right(3).compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0;
    if (bmp) {
        const BusyCursor busy;
        // The stored picture; a window that holds only its background writes
        // that background at the picture's size.
        QImage img = w->Picture1->picture().isNull() ? w->Picture1->clearedImage() : w->Picture1->picture();
        QSaveFile f(paths::resolve(name));
        bool ok = f.open(QIODevice::WriteOnly);
        if (ok) {
            QImageWriter writer(&f, "bmp");
            ok = writer.write(img);
        }
        ok = ok && f.commit();
        if (!ok) {
            // The window keeps its name and its calibration file is not
            // touched: nothing was saved.
            msgbox(QStringLiteral("Impossible d'enregistrer l'image ") + name, mbExclamation);
            return false;
        }
        w->Picture1->markSaved();
        setpane("Label2", fileof(name) + QStringLiteral(" a été enregistrée"));
    } else {
        if (msgbox(name + QStringLiteral(" n'est pas en format BMP") + QStringLiteral("\r\n") +
                       QStringLiteral("Sauvegarder quand même le fichier .DAT?"),
                   mbYesNo | mbQuestion) != idYes)
            return false;
    }

    w->setWindowTitle(caption(name));
    w->Filename = name;

    const QString dat = companionName(name, QStringLiteral("dat"));
    if (fileExists(dat)) {
        if (msgbox(QStringLiteral("Écraser ") + dat + QStringLiteral("?"), mbYesNo | mbQuestion) != idYes) return false;
    }

    const BusyCursor busy;
    PicCalibration cal;
    cal.Pictype = w->Pictype;
    cal.lon = {w->lon1, w->lon2, w->lon3, w->lon4};
    cal.lat = {w->lat1, w->lat2, w->lat3, w->lat4};
    cal.source = w->source;
    if (w->Pictype == 1) {
        cal.values = {float(w->Mapmode), w->maxx, w->minx, w->light, w->con, w->bri,
                      float(w->c1), float(w->c2), float(w->city), w->hmin, w->hmax, w->hmoy};
    } else if (w->Pictype == 3) {
        cal.values = {w->amplx, w->phi, w->theta, w->disto, w->aper, w->size, w->ofx, w->ofy, w->w3, w->h3, w->q3, 0};
    }
    QSaveFile f(paths::resolve(dat));
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(writePicCalibration(cal)) >= 0 && f.commit();
    if (!ok) {
        msgbox(QStringLiteral("Impossible d'enregistrer le fichier ") + dat, mbExclamation);
        return false;
    }
    setpane("Label2", fileof(dat) + QStringLiteral(" a été enregistrée"));
    return true;
}

}  // namespace zk
