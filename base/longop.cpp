// The long-operation protocol: `beginop` puts the interface into its running
// state (menus disabled, only the Stop button shown, no mouse input on the
// pictures, the radio-link window's Stop menu shown), registers the progress
// hook and shows the operation's text; `opcallback` keeps the windows alive,
// reports progress and answers 0 once a stop was requested; `endop` restores
// the interface and says how the operation ended.
#include "longop.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/controls.h"
#include "base/hooks.h"
#include "base/mainframe.h"
#include "engine.h"

namespace zk {

void (*opgridbounds)(int32_t &x, int32_t &y) = nullptr;

int16_t runflag = 0;
int32_t progcount = 0;
float progtotal = 0;
int32_t tilecount = 0;
QWidget *mergepic = nullptr;
QWidget *viewpic = nullptr;

namespace {

// showprogress keeps these from call to call.
int16_t g_lastComputed = 0;
int16_t g_lastDrawn = 0;
double g_nextDraw = 0;

// A clock in seconds that never goes back while the program runs.
double monotonicSeconds()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    // Counted from one second before the clock started, so that the first
    // drawing (earliest moment 0) always passes.
    return 1.0 + double(clock.nsecsElapsed()) * 1e-9;
}
double (*g_clock)() = &monotonicSeconds;

// The engine's operations report to the hook from every thread that runs
// them; only the main thread may pump events and draw the progress, another
// is just told whether to go on.
std::atomic<int> g_quiet{0};

int32_t hook(int32_t counter)
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (g_quiet.load(std::memory_order_relaxed) > 0 || (app && QThread::currentThread() != app->thread()))
        return std::min<int32_t>(runflag, 1);
    return opcallback(counter);
}

// The loaded windows of a name: top-level windows and the windows inside the
// main window (the picture windows are its MDI children).
QList<QWidget *> loadedWindows(const QString &name)
{
    QList<QWidget *> out;
    QSet<QWidget *> seen;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == name && !seen.contains(top)) {
            seen.insert(top);
            out.append(top);
        }
        for (QWidget *w : top->findChildren<QWidget *>(name)) {
            if (!seen.contains(w)) {
                seen.insert(w);
                out.append(w);
            }
        }
    }
    return out;
}

// A window's menu of the given name, as a menu or as a plain item.
QAction *menuItem(QWidget *window, const QString &name)
{
    if (auto *m = window->findChild<QMenu *>(name)) return m->menuAction();
    return window->findChild<QAction *>(name);
}

void setToolWindowsRunning(bool running)
{
    for (QWidget *link : loadedWindows(QStringLiteral("frmLink"))) {
        for (int i = 1; i <= 2; ++i)
            if (QAction *a = menuItem(link, QStringLiteral("menu(%1)").arg(i))) a->setEnabled(!running);
        if (QAction *stop = menuItem(link, QStringLiteral("menu(3)"))) stop->setVisible(running);
    }
    QWidget *active = nullptr;
    if (mainform && mainform->mdiArea()) active = mainform->mdiArea()->activeSubWindow();
    for (QWidget *pic : loadedWindows(QStringLiteral("frmPic"))) {
        QWidget *box = pic->findChild<QWidget *>(QStringLiteral("Picture1"));
        if (!box) continue;
        box->setEnabled(!running);
        if (!running && active && (pic == active || active->isAncestorOf(pic))) box->setFocus();
    }
}

void setMainRunning(bool running)
{
    MainFrame *w = mainform;
    if (!w) return;
    for (int i = 1; i <= MainFrame::kMenus; ++i)
        if (QMenu *m = w->menu(i)) m->menuAction()->setEnabled(!running);
    w->mnuStop()->setVisible(running);
    for (int i = 0; i < MainFrame::kButtons - 1; ++i) w->image1(i)->setVisible(!running);
    w->image1(MainFrame::kButtons - 1)->setVisible(running);
    for (int k = 0; k < 4; ++k) w->line2(k)->hide();
}

int32_t xbound()
{
    int32_t x = 0, y = 0;
    if (opgridbounds) opgridbounds(x, y);
    return x;
}
int32_t ybound()
{
    int32_t x = 0, y = 0;
    if (opgridbounds) opgridbounds(x, y);
    return y;
}

void refresh(QWidget *w)
{
    if (w) w->repaint();
}

}  // namespace

const char *optext(int code)
{
    static const char *const kTexts[] = {
        "",
        "Dessin de l'image 2D...",
        "Extraction des données GTOPO30...",
        "Ouverture du fichier carte...",
        "Compilation des statistiques de la carte...",
        "Extraction des données Terrain...",
        "Extraction des données DTED...",
        "Dessin de l'image 3D...",
        "Dessin de l'image ADRG...",
        "Dessin du panorama...",
        "Mélange des images...",
        "Calcul de la couverture ...",
        "Dessin d'une image stereo 2D...",
        "Mélange avec une carte Quo Vadis...",
    };
    return (code >= 1 && code <= 13) ? kTexts[code] : "";
}

namespace {

// The progress total that beginop sets for an operation code; false for the
// codes that set their own (9, 11) or none.
bool optotal(int code, float &total)
{
    const double X = xbound(), Y = ybound();
    switch (code) {
    case opdraw2d: total = float((std::floor(X / 256) + 1) * (std::floor(Y / 256) + 1)); return true;
    case opgtopo30: total = float(Y); return true;
    case opreadmap: total = 512; return true;
    case opmapstats: total = float(X); return true;
    case opterrain:
    case opdted:
    case opgifmerge: total = float(tilecount); return true;
    case opdraw3d:
    case opadrg: total = float(X * Y); return true;
    case opmerge:
        if (!mergepic) return false;
        total = float(mergepic->property("scaleHeight").isValid() ? mergepic->property("scaleHeight").toDouble()
                                                                   : double(mergepic->height()));
        return true;
    case opstereo: total = float(Y); return true;
    default: return false;  // 9 and 11 set their own total; others none
    }
}

}  // namespace

void beginop(int16_t code)
{
    runflag = 0;
    QCoreApplication::processEvents();
    // A coverage is drawn over the networks; every other drawing clears them.
    if (code != opcoverage) hooks::clearoverlay();
    setToolWindowsRunning(true);
    setMainRunning(true);
    engine::callback(&hook);
    runflag = code;
    if (code >= 1 && code <= 13) {
        if (mainform) mainform->label2()->setText(QString::fromUtf8(optext(code)));
        optotal(code, progtotal);
    }
    progcount = 0;
    showprogress(0.0001f);
}

int32_t opcallback(int32_t n)
{
    QCoreApplication::processEvents();
    if (n % 20 == 0) {
        const int16_t code = runflag;
        double value = n;
        bool ok = true;
        switch (code) {
        case opdraw2d: value = progcount + n / 256.0; break;
        case opterrain: value = progcount; break;
        case opdted:
            if (xbound() == 0) ok = false;
            else value = progcount + double(n) / xbound();
            break;
        case oppanorama:
            refresh(viewpic);
            value = double(progtotal) * progcount * 0.5 + n;
            break;
        case opmerge: refresh(mergepic); break;
        case opstereo: refresh(hooks::curpicbox()); break;
        case opgifmerge:
            if (ybound() == 0) ok = false;
            else value = progcount + double(n) / ybound();
            break;
        default: break;
        }
        if (ok && std::isfinite(value)) showprogress(float(value));
    }
    return std::min<int32_t>(runflag, 1);
}

QuietProgress::QuietProgress() { g_quiet.fetch_add(1); }
QuietProgress::~QuietProgress() { g_quiet.fetch_sub(1); }

namespace {

// Draws the bar and the percentage pane for a whole percentage.
void drawpercent(int16_t percent)
{
    MainFrame *w = mainform;
    if (!w || !w->picture2()->isVisible()) return;
    Shape *fill = w->shape1(0), *frame = w->shape1(1);
    fill->resize(int(std::lround(frame->width() * percent / 100.0)), frame->height());
    if (frame->isHidden()) {
        frame->show();
        fill->show();
        fill->raise();
    }
    w->label1()->setText(QString::number(percent) + QLatin1Char('%'));
}

}  // namespace

void showprogress(double value)
{
    if (!(value > 0)) {
        if (value <= 0 && mainform) {
            mainform->shape1(0)->hide();
            mainform->shape1(1)->hide();
        }
        return;  // a value that is not a number draws nothing
    }
    const double fraction = progtotal > 0 ? value / double(progtotal) : value;
    if (!std::isfinite(fraction)) return;
    const double clamped = std::max(1.0, std::min(100.0, fraction * 100));
    const auto percent = int16_t(std::nearbyint(clamped));
    g_lastComputed = percent;
    const double now = g_clock();
    if (!(now > g_nextDraw) || percent == g_lastDrawn) return;
    g_nextDraw = now + 0.25;
    g_lastDrawn = percent;
    drawpercent(percent);
}

void showprogressdone()
{
    if (runflag <= 0) return;
    g_lastComputed = 100;
    g_lastDrawn = 100;
    g_nextDraw = g_clock() + 0.25;
    drawpercent(100);
}

void endop()
{
    setToolWindowsRunning(false);
    setMainRunning(false);
    if (MainFrame *w = mainform) {
        w->shape1(0)->hide();
        w->shape1(1)->hide();
        w->label2()->setText(runflag == 0 ? QStringLiteral("Arrêté par l'utilisateur.") : QStringLiteral("Complété."));
        w->label1()->setText(QStringLiteral("Prêt"));
    }
    showprogress(0);
    runflag = 0;
}

void setProgressClock(double (*clock)()) { g_clock = clock ? clock : &monotonicSeconds; }

void resetProgressState()
{
    g_lastComputed = 0;
    g_lastDrawn = 0;
    g_nextDraw = 0;
}

}  // namespace zk
