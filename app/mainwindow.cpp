// The main window: construction of its controls, the load handler
// (placement and station icons), the window's layout on resize, the
// tool-window closing rule and the close request.
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "base/artwork.h"
#include "base/controls.h"
#include "base/hooks.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "base/screen.h"
#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"

namespace zk {

namespace {

// Design sizes of the status bar, in twips.
constexpr double kStatusHeight = 300;
constexpr double kPaneTop = 30, kGripTop = 40;
constexpr double kPaneHeight = 255;
constexpr double kLightsWidth = 1550;
constexpr double kGripSize = 240;
constexpr double kGripMargin = 140;
constexpr double kProgressLeft = 480, kProgressTop = 20, kProgressHeight = 180;
constexpr double kLabel3Left[3] = {15, 585, 1065};
constexpr double kShape2Left[3] = {370, 820, 1300};
constexpr double kShape2Width = 135, kShape2Height = 150;

// The built-in placement, used when the window is restored after a
// maximised start (twips).
constexpr double kDefaultLeft = 600, kDefaultTop = 600, kDefaultWidth = 12000, kDefaultHeight = 9000;

QString indexed(const char *name, int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i); }

}  // namespace

frmMain::frmMain(QWidget *parent) : MainFrame(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    mainform = this;
    setMainWindow(this);

    auto *central = new QWidget(this);
    auto *box = new QVBoxLayout(central);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    picture1_ = new QWidget(central);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setAutoFillBackground(true);
    picture1_->setMouseTracking(true);
    picture1_->installEventFilter(this);
    box->addWidget(picture1_);

    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    // A frame may be made as narrow as the user likes (the toolbar wraps).
    mdi_->setMinimumSize(1, 1);
    box->addWidget(mdi_, 1);
    setMdiArea(mdi_);

    picture2_ = new QWidget(central);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setAutoFillBackground(true);
    picture2_->setFixedHeight(px(kStatusHeight, false));
    box->addWidget(picture2_);

    setCentralWidget(central);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(0);
    connect(timer1_, &QTimer::timeout, this, [] { hooks::timer1tick(); });

    buildToolbar();
    buildStatusBar();
    buildMenus();

    stereo_ = artwork::stereoPalette();
    grip_ = artwork::gripIcon();
    for (int i = 0; i < artwork::kBuiltinStationIcons; ++i) icons_.append(artwork::stationIcon(i));
    setWindowIcon(artwork::programIcon());

    hotbutton_ = 0;
    hotstate_ = 0;
    layoutWindow();
}

frmMain::~frmMain()
{
    if (mainform == this) mainform = nullptr;
}

int frmMain::px(double twips, bool horizontal) const
{
    const double tpp = horizontal ? twipsPerPixelX() : twipsPerPixelY();
    return int(std::lround(twips / tpp));
}

QFrame *frmMain::picture3(int i) const { return (i >= 0 && i < 4) ? picture3_[size_t(i)] : nullptr; }
Image *frmMain::image1(int i) const { return (i >= 0 && i < kButtons) ? image1_[size_t(i)] : nullptr; }
Line *frmMain::line2(int i) const { return (i >= 0 && i < kButtons) ? line2_[size_t(i)] : nullptr; }
QLabel *frmMain::label3(int i) const { return (i >= 0 && i < 3) ? label3_[size_t(i)] : nullptr; }
Shape *frmMain::shape1(int i) const { return (i >= 0 && i < 2) ? shape1_[size_t(i)] : nullptr; }
Shape *frmMain::shape2(int i) const { return (i >= 0 && i < 3) ? shape2_[size_t(i)] : nullptr; }
QMenu *frmMain::menu(int i) const { return (i >= 1 && i <= kMenus) ? menu_[size_t(i)] : nullptr; }
QAction *frmMain::mnuFileMRU(int i) const { return action(indexed("mnuFileMRU", i)); }
QAction *frmMain::mnuViewGrid() const { return action(QStringLiteral("mnuViewGrid")); }
QAction *frmMain::mnuMouseCoor() const { return action(QStringLiteral("mnuMouseCoor")); }
QAction *frmMain::action(const QString &name) const { return findChild<QAction *>(name); }

void frmMain::buildStatusBar()
{
    const QColor dark = palette().color(QPalette::Dark);
    for (int i = 0; i < 4; ++i) {
        auto *pane = new QFrame(picture2_);
        pane->setObjectName(indexed("Picture3", i));
        if (i < 3) pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture3_[size_t(i)] = pane;
    }
    picture3_[0]->setGeometry(0, px(kPaneTop, false), px(kLightsWidth), px(kPaneHeight, false));

    static const char *const kLights[3] = {"GPS", "Tx", "Rx"};
    for (int i = 0; i < 3; ++i) {
        auto *l = new QLabel(QString::fromLatin1(kLights[i]), picture3_[0]);
        l->setObjectName(indexed("Label3", i));
        l->move(px(kLabel3Left[i]), 1);
        l->adjustSize();
        l->installEventFilter(this);
        l->hide();
        label3_[size_t(i)] = l;
        auto *s = new Shape(picture3_[0], Shape::Oval, QColor(160, 0, 0), dark);
        s->setObjectName(indexed("Shape2", i));
        s->setGeometry(px(kShape2Left[i]), px(kPaneTop, false), px(kShape2Width), px(kShape2Height, false));
        s->hide();
        shape2_[size_t(i)] = s;
    }

    label1_ = new QLabel(QStringLiteral("Prêt"), picture3_[1]);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->move(px(15), 1);
    // The progress bar: 1 the white frame, 0 the blue fill; both hidden.
    shape1_[1] = new Shape(picture3_[1], Shape::Rectangle, Qt::white, dark);
    shape1_[1]->setObjectName(indexed("Shape1", 1));
    shape1_[0] = new Shape(picture3_[1], Shape::Rectangle, QColor(0, 0, 255), QColor(0, 0, 255));
    shape1_[0]->setObjectName(indexed("Shape1", 0));
    for (Shape *s : shape1_) {
        s->setGeometry(px(kProgressLeft), px(kProgressTop, false), 1, px(kProgressHeight, false));
        s->hide();
    }

    label2_ = new QLabel(QStringLiteral("-"), picture3_[2]);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->move(px(15), 1);

    grip_label_ = new QLabel(picture3_[3]);
    grip_label_->setPixmap(artwork::gripIcon());
    grip_label_->setGeometry(0, 0, 16, 16);
    grip_label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture3_[3]->setCursor(Qt::SizeFDiagCursor);
    picture3_[3]->installEventFilter(this);
    picture3_[3]->hide();
}

StatusLayout statusLayout(double outerWidthTwips)
{
    StatusLayout l;
    l.left[0] = 0;
    l.width[0] = kLightsWidth;
    l.width[3] = kGripSize;
    const double w = std::max(1000.0, double(std::lround((outerWidthTwips - 140 - l.width[0] - l.width[3]) / 2)));
    l.left[1] = l.left[0] + l.width[0];
    l.width[1] = w;
    l.left[2] = l.left[0] + l.width[0] + l.width[1];
    l.width[2] = w;
    l.left[3] = outerWidthTwips - l.width[3] - kGripMargin;
    // The panes carry a one-pixel sunken border on each side.
    const double inner = w - 2 * twipsPerPixelX();
    l.progressWidth = inner - kProgressLeft - 80;
    return l;
}

void frmMain::layoutStatusBar()
{
    const double tpp = twipsPerPixelX();
    const StatusLayout l = statusLayout(frameGeometry().width() * tpp);
    const int top = px(kPaneTop, false), h = px(kPaneHeight, false);
    for (int i = 1; i <= 2; ++i)
        picture3_[size_t(i)]->setGeometry(px(l.left[i]), top, px(l.width[i]), h);
    picture3_[3]->setGeometry(px(l.left[3]), px(kGripTop, false), px(kGripSize), px(kGripSize, false));
    picture3_[3]->setVisible(!(isMaximized() || isMinimized() || isFullScreen()));
    const int innerw = picture3_[1]->width() - 2;
    label1_->resize(std::max(1, innerw - label1_->x()), label1_->sizeHint().height());
    label2_->resize(std::max(1, picture3_[2]->width() - 2 - label2_->x()), label2_->sizeHint().height());
    Shape *frame = shape1_[1];
    frame->resize(std::max(0, px(l.progressWidth)), frame->height());
}

void frmMain::layoutWindow()
{
    if (isMinimized()) {
        closetoolwindows();
        return;
    }
    layoutToolbar();
    layoutStatusBar();
}

void frmMain::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    layoutWindow();
}

void frmMain::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) layoutWindow();
}

void frmMain::closetoolwindows()
{
    static const char *const kTools[] = {"frmGrid", "frmLink", "frmMapPro", "frmCustom", "frmObject", "frmDebug"};
    for (const char *name : kTools) {
        const QString n = QLatin1String(name);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() != n || !w->isVisible()) continue;
            if (n == QLatin1String("frmObject") && !w->property("objedit").toBool()) continue;
            w->close();
        }
    }
}

void frmMain::closeEvent(QCloseEvent *e)
{
    // While an operation runs, a close request only asks it to stop; else
    // the confirmation, the settings and the save prompts (shutdown.cpp).
    if (hooks::queryunload(*this)) {
        e->ignore();
        return;
    }
    e->accept();
}

void frmMain::Label3_DblClick(int index)
{
    QAction *a = action(index == 0 ? QStringLiteral("mnuViewGPS") : QStringLiteral("mnuMonitor"));
    if (a && a->isEnabled()) a->trigger();
}

void frmMain::Picture3_MouseUp(int index, int x, int y)
{
    if (index != 3 || isMaximized() || isMinimized() || isFullScreen()) return;
    QSize s = size();
    if (x != 0) s.setWidth(s.width() + x);
    if (y != 0) s.setHeight(s.height() + y);
    resize(s);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    const bool mouse = t == QEvent::MouseMove || t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                       t == QEvent::MouseButtonDblClick;
    if (!mouse && t != QEvent::Leave) return QMainWindow::eventFilter(watched, event);

    // A button state as the Windows program saw it: 1 left, 2 right, 4 middle.
    auto state = [](Qt::MouseButtons b) {
        return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0);
    };

    if (watched == picture1_) {
        if (t == QEvent::Leave) {
            if (QApplication::mouseButtons() == Qt::NoButton) Image1_MouseMove(-1, 0, 0, 0);
            return false;
        }
        auto *me = static_cast<QMouseEvent *>(event);
        const QPoint p = me->position().toPoint();
        if (t == QEvent::MouseMove) Picture1_MouseMove(state(me->buttons()), p.x(), p.y());
        else if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) Picture1_MouseDown(p.x(), p.y());
        else Picture1_MouseUp(p.x(), p.y());
        return true;
    }
    for (int i = 0; i < kButtons; ++i) {
        if (watched != image1_[size_t(i)]) continue;
        if (t == QEvent::Leave) return false;
        auto *me = static_cast<QMouseEvent *>(event);
        const QPoint p = me->position().toPoint();
        if (t == QEvent::MouseMove) Image1_MouseMove(i, state(me->buttons()), p.x(), p.y());
        else if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) Image1_MouseDown(i);
        else Image1_MouseUp(i, state(me->button()), p.x(), p.y());
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (watched == label3_[size_t(i)] && t == QEvent::MouseButtonDblClick) {
            Label3_DblClick(i);
            return true;
        }
    }
    if (watched == picture3_[3] && t == QEvent::MouseButtonRelease) {
        const QPoint p = static_cast<QMouseEvent *>(event)->position().toPoint();
        Picture3_MouseUp(3, p.x(), p.y());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::load()
{
    if (loaded_) return;
    loaded_ = true;
    // 1. Caption: the application title (the recent-files list later names
    // the network file in it).
    setWindowTitle(appTitle());
    // 2. Placement.
    applyPlacement();
    // 3. Station icons.
    loadStationIcons();
    // 4. No button highlighted; the first movement over a button draws.
    hotstate_ = -1;
}

void frmMain::applyPlacement()
{
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    // The built-in placement, which a maximised window returns to.
    move(int(std::lround(kDefaultLeft / tx)), int(std::lround(kDefaultTop / ty)));
    resize(int(std::lround(kDefaultWidth / tx)), int(std::lround(kDefaultHeight / ty)));

    const WindowPlacement p = readplacement();
    const bool allNumbers = p.ok[0] && p.ok[1] && p.ok[2] && p.ok[3];
    const bool accepted = allNumbers && p.width > 0 && p.height > 0 && p.left >= 0 && p.top >= 0 &&
                          p.left < screenWidthTwips() && p.height < screenHeightTwips();
    if (allNumbers && !accepted) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    // Accepted, or a stored value that is not a number: the normal state,
    // with every usable value applied.
    setWindowState(Qt::WindowNoState);
    QPoint pos = this->pos();
    QSize sz = size();
    if (p.ok[0]) pos.setX(int(std::lround(p.left / tx)));
    if (p.ok[1]) pos.setY(int(std::lround(p.top / ty)));
    if (p.ok[2] && p.width > 0) sz.setWidth(int(std::lround(p.width / tx)));
    if (p.ok[3] && p.height > 0) sz.setHeight(int(std::lround(p.height / ty)));
    move(pos);
    resize(sz);
}

void frmMain::loadStationIcons()
{
    // Program folder first, then its "icon" folder; in each, the shipped
    // files beside the program and then the user's own files in the per-user
    // data folder (a name found in both counts once).
    const QStringList roots = {paths::programFolder(), paths::userFolder()};
    for (const QString &sub : {QString(), QStringLiteral("icon")}) {
        QStringList seen;
        for (const QString &root : roots) {
            QDir dir(sub.isEmpty() ? root : paths::resolve(root + QLatin1Char('/') + sub));
            if (!dir.exists()) continue;
            dir.setNameFilters({QStringLiteral("*.ico")});
            dir.setFilter(QDir::Files | QDir::Readable | QDir::Hidden);
            dir.setSorting(QDir::Unsorted);
            for (const QString &name : dir.entryList()) {
                if (seen.contains(name, Qt::CaseInsensitive)) continue;
                seen.append(name);
                // A file that cannot be read still takes its index.
                QPixmap pm;
                pm.load(dir.filePath(name));
                icons_.append(pm);
            }
        }
    }
}

}  // namespace zk
