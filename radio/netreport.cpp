#include "radio/netreport.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/mainframe.h"
#include "base/printing.h"
#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/linkbudget.h"
#include "radio/radiodata.h"
#include "radio/roles.h"

namespace zk {

namespace {

const ReportSurface *g_surface = nullptr;
std::function<QDateTime()> g_clock;
std::function<bool(const QString &)> g_viewer;

// Window colours of the network blocks.
const QColor kBlack(0, 0, 0);
const QColor kDarkBlue(0, 0, 128);
const QColor kGreen(0, 133, 0);
const QColor kRed(200, 0, 0);
const QColor kGrey(80, 80, 80);

const QString kEol = QStringLiteral("\r\n");

QString rule() { return QString(75, QLatin1Char('-')); }

// A fixed-length name with all its characters; a never-written field holds
// zero bytes, which print as blanks.
QString rawname(const char *field, size_t len)
{
    QByteArray b(field, qsizetype(len));
    b.replace('\0', ' ');
    return fromCp1252(b);
}
template <size_t N>
QString rawname(const char (&field)[N])
{
    return rawname(field, N);
}

// A number through a format mask of `intdigits` zeros, a point and
// `decimals` zeros: halves rounded away from zero, the user's decimal
// separator, a minus sign for negative values.
QString masktext(double v, int decimals, int intdigits = 1)
{
    if (!std::isfinite(v)) v = 0;
    const double scale = std::pow(10.0, decimals);
    const double a = std::round(std::abs(v) * scale) / scale;
    QString body = QString::number(a, 'f', decimals);
    const int point = decimals > 0 ? int(body.indexOf(QLatin1Char('.'))) : int(body.size());
    if (point < intdigits) body.prepend(QString(intdigits - point, QLatin1Char('0')));
    if (decimals > 0) body.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return (v < 0 && a != 0 ? QStringLiteral("-") : QString()) + body;
}

QString mask00(int v) { return masktext(v, 0, 2); }
QString maskunit(double v, int decimals, const char *unit) { return masktext(v, decimals) + QLatin1String(unit); }

// Where the report's statements go. Columns are counted from 1 after the
// last line end. A column stop on a line that has already passed its column
// leaves one blank, so the line stays whole and its items stay apart.
class Writer {
public:
    virtual ~Writer() = default;
    void text(const QString &s)
    {
        qsizetype from = 0;
        for (;;) {
            const qsizetype eol = s.indexOf(kEol, from);
            const QString seg = s.mid(from, eol < 0 ? -1 : eol - from);
            if (!seg.isEmpty()) put(seg);
            if (eol < 0) break;
            newline();
            from = eol + kEol.size();
        }
    }
    virtual void tab(int n) = 0;
    virtual void color(const QColor &) {}

protected:
    virtual void put(const QString &seg) = 0;
    virtual void newline() = 0;
    int col_ = 1;
};

class FileWriter final : public Writer {
public:
    QString out;
    void tab(int n) override
    {
        if (col_ < n) {
            out += QString(n - col_, QLatin1Char(' '));
            col_ = n;
        } else if (col_ > n) {
            out += QLatin1Char(' ');
            ++col_;
        }
    }

protected:
    void put(const QString &seg) override
    {
        out += seg;
        col_ += int(seg.size());
    }
    void newline() override
    {
        out += kEol;
        col_ = 1;
    }
};

// The window and the printer: a column stop is n - 1 average character
// widths of the font from the left edge.
class PainterWriter final : public Writer {
public:
    PainterWriter(QPainter &p, const QFont &font, double top, double pageheight, QPrinter *printer, bool colours,
                  std::function<void(const ReportItem &)> record)
        : p_(p), fm_(font, p.device()), top_(top), y_(top), pageh_(pageheight), printer_(printer),
          colours_(colours), record_(std::move(record))
    {
        p_.setFont(font);
        p_.setPen(kBlack);
        avgw_ = fm_.averageCharWidth();
        blank_ = fm_.horizontalAdvance(QLatin1Char(' '));
        lineh_ = std::max(1.0, fm_.lineSpacing());
    }
    void tab(int n) override
    {
        const double target = (n - 1) * avgw_;
        if (x_ < target) {
            x_ = target;
            col_ = n;
        } else if (x_ > target) {
            x_ += blank_;
            ++col_;
        } else {
            col_ = n;
        }
    }
    void color(const QColor &c) override
    {
        if (colours_) p_.setPen(c);
    }

protected:
    void put(const QString &seg) override
    {
        p_.drawText(QPointF(x_, y_ + fm_.ascent()), seg);
        if (record_) record_({seg, col_, line_, x_, y_, p_.pen().color()});
        x_ += fm_.horizontalAdvance(seg);
        col_ += int(seg.size());
    }
    void newline() override
    {
        x_ = 0;
        col_ = 1;
        y_ += lineh_;
        ++line_;
        // The printed text flows over as many pages as it needs.
        if (printer_ && y_ + lineh_ > pageh_ && y_ > top_) {
            printer_->newPage();
            y_ = top_;
        }
    }

private:
    QPainter &p_;
    QFontMetricsF fm_;
    double top_, y_, pageh_;
    QPrinter *printer_;
    bool colours_;
    std::function<void(const ReportItem &)> record_;
    double x_ = 0, avgw_ = 8, blank_ = 8, lineh_ = 16;
    int line_ = 0;
};

QString polartext(int v)
{
    static const char *const names[] = {"Horizontale", "Verticale"};
    return QString::fromUtf8(names[std::clamp(v, 0, 1)]);
}

QString stattext(int code)
{
    static const char *const names[] = {"Essai", "Accidentel", "Mobile", "Diffusion"};
    return QString::fromUtf8(names[std::clamp(code % 100, 0, 3)]);
}

QString climatetext(int v)
{
    static const char *const names[] = {"Équatorial",
                                        "Continental sous-tropical",
                                        "Maritime sous-tropical",
                                        "Désert",
                                        "Continental tempéré",
                                        "Maritime tempéré sur terre",
                                        "Maritime tempéré sur mer"};
    return QString::fromUtf8(names[std::clamp(v, 1, 7) - 1]);
}

QString legend(int mode)
{
    switch (mode) {
    case 0: return QStringLiteral("Qualité = 50 + marge de signal (dB)");
    case 1: return QStringLiteral("Qualité = 50 - nombre de retransmissions");
    case 2: return QStringLiteral("Qualité = S-units");
    default: return QString();
    }
}

// Position texts on copies: writing a position never changes a unit's own.
QString positiontext(float lon, float lat)
{
    float x = lon, y = lat;
    const QString t = londms(x) + QLatin1Char(' ') + latdms(y);
    return t + QLatin1Char(' ') + gridlocator(lon, lat);
}

void opening(Writer &w)
{
    const QDateTime now = g_clock ? g_clock() : QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    const QString date = QString::asprintf("%02d-%02d-%04d", d.month(), d.day(), d.year());
    const QString time = QString::asprintf("%02d:%02d:%02d", t.hour(), t.minute(), t.second());
    const QString r = rule();
    w.text(kEol + appTitle() + kEol + QStringLiteral("Rapport généré le ") + date + QStringLiteral(" à ") + time +
           kEol + r + kEol + QStringLiteral("Généralités") + kEol + r + kEol + QStringLiteral("Fichier réseau ") +
           settings.lastproject.toUpper() + kEol + QStringLiteral("Fichier carte  ") + mapfile.toUpper() + kEol +
           QStringLiteral("  Centre       ") + positiontext(mapset.lon, mapset.lat) + kEol +
           QStringLiteral("  Dimension    ") + maskunit(mapset.size, 1, " km ") + QStringLiteral("N-S, ") +
           maskunit(reportwidthkm(), 1, " km ") + QStringLiteral("E-O") + kEol + r + kEol +
           QStringLiteral("Unités actives") + kEol + r);

    w.text(kEol + QStringLiteral("Nom"));
    w.tab(21);
    w.text(QStringLiteral("Position"));
    w.tab(66);
    w.text(QStringLiteral("Altitude") + kEol);
    for (int u = 1; u <= kUnits; ++u) {
        const UnitRecord &unit = units[u];
        float x = 0, y = 0, e = 0;
        if (!unit.enabled || !gridpoint(unit.lon, unit.lat, x, y, e)) continue;
        w.text(kEol + fixedText(unit.name).trimmed());
        w.tab(21);
        w.text(positiontext(unit.lon, unit.lat));
        w.tab(66);
        w.text(maskunit(unit.elev, 1, "m"));
    }

    w.text(kEol + r + kEol + QStringLiteral("Systèmes") + kEol + r);
    w.text(kEol + QStringLiteral("Nom"));
    const std::pair<int, const char *> heads[] = {
        {21, "Puiss. Tx"}, {32, "Pertes"}, {43, "Gain ant."}, {54, "Seuil Rx"}, {65, "Haut. ant."}};
    for (const auto &[col, head] : heads) {
        w.tab(col);
        w.text(QString::fromUtf8(head));
    }
    w.text(kEol);
    for (int s = 1; s <= kSystems; ++s) {
        const SystemRecord &sys = systems[s];
        w.text(kEol + rawname(sys.name).left(20));
        w.tab(21);
        w.text(maskunit(sys.power, 3, "W"));
        w.tab(32);
        w.text(maskunit(sys.loss, 1, "dB"));
        w.tab(43);
        w.text(maskunit(sys.gain, 1, "dB"));
        w.tab(54);
        w.text(maskunit(sys.threshold, 1, "dBm"));
        w.tab(65);
        w.text(maskunit(sys.height, 1, "m"));
    }
    w.text(kEol + r + kEol + QStringLiteral("Réseaux actifs") + kEol + r + kEol);
}

void netblock(Writer &w, int n, int mode, bool parameters)
{
    const NetRecord &net = nets[n];
    // The topology code is the low byte; bit 8 only says the network is shown.
    curtopo = int16_t(netkind(net));

    std::vector<int> part;
    for (int u = 1; u <= kUnits; ++u)
        if (units[u].enabled && (net.member[u - 1] & 0x80)) part.push_back(u);
    if (part.empty()) return;
    const int count = int(part.size());
    const QString topo = topologyname();

    QString head = kEol + rawname(net.name) + kEol + QStringLiteral("Topologie ") + topo + kEol +
                   maskunit(net.fmin, 1, " MHz");
    if (net.fmax != net.fmin) head += QStringLiteral(" to ") + maskunit(net.fmax, 1, " MHz");
    if (lrprm.interf == 1) head += QStringLiteral(" (mode interférence <optimiste>)");
    if (parameters) {
        head += kEol + QStringLiteral("Polarisation ") + polartext(net.polar);
        head += kEol + QStringLiteral("Mode statistique ") + stattext(net.statmode) + QLatin1Char(':');
        head += kEol + reportplain(net.ptime) + QStringLiteral("% du temps, ") + reportplain(net.ploc) +
                QStringLiteral("% des locations, ") + reportplain(net.psit) + QStringLiteral("% des situations");
        head += kEol + QStringLiteral("Refractivité= ") + reportplain(net.ns) +
                QStringLiteral(" N-units, conductivité= ") + reportplain(net.sigma) +
                QStringLiteral(" S/m, permittivité= ") + reportplain(net.eps);
        head += kEol + QStringLiteral("Climat ") + climatetext(net.climate);
    }
    head += kEol + kEol + QStringLiteral("Participants:");
    w.color(kBlack);
    w.text(head);

    w.color(kDarkBlue);
    w.tab(28);
    w.text(QStringLiteral("#"));
    for (int k = 1; k <= count; ++k) {
        w.tab(28 + 3 * k);
        w.text(mask00(k));
    }
    const int cr = 3 * count + 32, ca = 3 * count + 45, cs = 3 * count + 55;
    w.color(kBlack);
    w.tab(cr);
    w.text(QStringLiteral("Rôle:"));
    w.color(kBlack);
    w.tab(ca);
    w.text(QStringLiteral("Antenne:"));
    w.color(kBlack);
    w.tab(cs);
    w.text(QStringLiteral("Système:"));

    const bool star = netkind(net) == 1;
    for (int k = 1; k <= count; ++k) {
        const int u = part[size_t(k - 1)];
        w.color(kBlack);
        w.text(kEol + rawname(units[u].name));
        w.color(kDarkBlue);
        w.tab(28);
        w.text(mask00(k));
        for (int j = 1; j <= count; ++j) {
            const int v = part[size_t(j - 1)];
            const int hi = std::max(u, v), lo = std::min(u, v);
            const int ql = quality(n, hi, lo);
            const int qr = quality(n, lo, hi);
            if (ql == 0) continue;
            w.tab(28 + 3 * j);
            if (mode == 1 && !star) {
                w.color(qr == 0 ? kRed : kGreen);
                w.text(mask00(qr));
            } else {
                w.color(ql >= 50 ? kGreen : kRed);
                w.text(mode == 0 ? mask00(ql) : sunittext(ql, n));
            }
        }
        // Role bits of 3 and system numbers out of 1..25 name nothing: blank.
        const int role = net.member[u - 1] & 3;
        const int s = net.system[u - 1];
        const bool sysok = s >= 1 && s <= kSystems;
        w.color(kGrey);
        w.tab(cr);
        if (role <= 2) w.text(rolenames[size_t(role)]);
        w.tab(ca);
        const float h = netheight(n, u);
        if (h != 0) w.text(maskunit(h, 1, "m"));
        else if (sysok) w.text(maskunit(systems[s].height, 1, "m"));
        w.tab(cs);
        if (sysok) w.text(rawname(systems[s].name));
    }

    w.color(kDarkBlue);
    w.text(kEol + kEol);
    w.tab(28);
    w.text(legend(mode) + kEol);
    w.text(kEol);
}

void writereport(Writer &w, int first, int last, int mode, bool parameters)
{
    if (first != last) opening(w);
    for (int n = first; n <= last; ++n) netblock(w, n, mode, parameters);
}

QFont printerfont()
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSizeF(12);
    return f;
}

void toprinter(int first, int last, int mode)
{
    QPrinter printer(QPrinter::HighResolution);
    QString pdf = printpdfoverride;
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (pdf.isEmpty() && def.isNull()) pdf = printpdfname();
    if (!pdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    } else {
        printer.setPrinterName(def.printerName());
    }
    QPainter p;
    if (!p.begin(&printer)) return;
    const double pageh = printer.pageRect(QPrinter::DevicePixel).height();
    PainterWriter w(p, printerfont(), 0, pageh, &printer, false, {});
    writereport(w, first, last, mode, true);
    if (!p.end()) return;
    if (!pdf.isEmpty() && mainform) mainform->label2()->setText(QStringLiteral("Impression enregistrée dans ") + pdf);
}

void towindow(int first, int last, int mode)
{
    const ReportSurface *s = g_surface;
    if (!s) return;
    if (s->clear) s->clear();
    QImage *canvas = s->canvas ? s->canvas() : nullptr;
    if (!canvas || canvas->isNull()) return;
    {
        QPainter p(canvas);
        PainterWriter w(p, s->font ? s->font() : QFont(), s->top ? s->top() : 0, 0, nullptr, true, s->item);
        writereport(w, first, last, mode, false);
    }
    if (s->done) s->done();
}

void tofile(int first, int last, int mode)
{
    const QString name = paths::writableDataFile(QStringLiteral("report.txt"));
    QSaveFile f(name);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray bytes = toCp1252(netreporttext(int16_t(first), int16_t(last), int16_t(mode)));
        ok = f.write(bytes) == bytes.size() && f.commit();
    }
    // A report that could not be written is not shown as if it had been.
    if (!ok) {
        msgbox(QStringLiteral("Impossible d'écrire le rapport ") + name, mbExclamation);
        return;
    }
    if (g_viewer) g_viewer(name);
    else QDesktopServices::openUrl(QUrl::fromLocalFile(name));
}

}  // namespace

void setreportsurface(const ReportSurface *surface) { g_surface = surface; }
void setreportclock(std::function<QDateTime()> clock) { g_clock = std::move(clock); }
void setreportviewer(std::function<bool(const QString &)> viewer) { g_viewer = std::move(viewer); }

QString reportplain(float v)
{
    if (!std::isfinite(v)) v = 0;
    QString t = QString::number(double(v), 'g', 7);
    if (t.startsWith(QLatin1String("0."))) t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0."))) t.remove(1, 1);
    t.replace(QLatin1Char('e'), QLatin1Char('E'));
    t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return t;
}

QString sunittext(int ql, int n)
{
    if (n < 1 || n > kNets) return QString();
    const NetRecord &net = nets[n];
    const int s = sunits(float(ql - 50), (net.fmin + net.fmax) * 0.5f);
    if (s < 10) return QStringLiteral("S") + masktext(s, 0, 1);
    return mask00(s);
}

double reportwidthkm()
{
    const int rows = elevgrid.ny();
    if (rows <= 0) return 0;
    return double(mapset.size) * elevgrid.nx() / rows;
}

QString netreporttext(int16_t first, int16_t last, int16_t mode)
{
    if (first < 1 || last > kNets) return QString();
    FileWriter w;
    writereport(w, first, last, mode, true);
    return w.out;
}

void netreport(int16_t first, int16_t last, int16_t mode, int16_t destination)
{
    if (first < 1 || last > kNets) return;
    struct Hourglass {
        Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
        ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
    } hourglass;
    QCoreApplication::processEvents();
    switch (destination) {
    case kReportWindow: towindow(first, last, mode); break;
    case kReportPrinter: toprinter(first, last, mode); break;
    case kReportFile: tofile(first, last, mode); break;
    default: break;
    }
}

}  // namespace zk
