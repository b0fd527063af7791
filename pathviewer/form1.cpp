#include "form1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

#include "base/dialogs.h"
#include "base/dialogs.h"
#include "base/routines.h"
#include "base/routines.h"
#include "base/version.h"
#include "cursor.h"
#include "msgbox.h"
#include "pathfile.h"
#include "paths.h"
#include "picturebox.h"
#include "reverse.h"


namespace zk::pathviewer {

namespace {

constexpr int kPictureWidth = 600;
constexpr int kPictureHeight = 400;
const char *const kFileError = "Error in file!";

// The hourglass for the length of a scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The file a name stands for: the name itself when it exists, else the
// same name looked up without regard to case. A name with quotes is taken
// as it is (and does not open).
QString locate(const QString &file)
{
    if (file.isEmpty() || QFileInfo::exists(file) || file.contains(QLatin1Char('"'))) return file;
    return paths::resolve(file);
}

}  // namespace

QString viewerTitle() { return QStringLiteral("Zelpath"); }

QString commandTail(const QStringList &arguments) { return arguments.join(QLatin1Char(' ')); }

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(viewerTitle());
    setFocusPolicy(Qt::StrongFocus);  // the window sees the arrow keys; no control takes the focus

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    picture1_ = new PictureBox(client_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setBackColor(rgb(128, 128, 128));
    picture1_->setPictureSize(kPictureWidth, kPictureHeight);
    connect(picture1_, &PictureBox::mouseDown, this, [this](const QPointF &pos, Qt::MouseButton) {
        movecursor(float(std::floor(pos.x())), cursorPixel);
    });

    // The cursor line lies under the captions.
    line1_ = new QWidget(picture1_);
    line1_->setObjectName(QStringLiteral("Line1"));
    line1_->setAutoFillBackground(true);
    QPalette lp = line1_->palette();
    lp.setColor(QPalette::Window, QColor(255, 255, 0));
    line1_->setPalette(lp);
    line1_->setAttribute(Qt::WA_TransparentForMouseEvents);
    line1_->hide();

    // "Fixedsys" becomes the monospace face, "MS Sans Serif" the default one.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    QFont sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    sans.setPointSize(8);
    for (int k = 1; k <= 2; ++k) {
        CaptionLabel *l = new CaptionLabel(picture1_);
        l->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        l->setFont(fixed);
        l->setAlignment(k == 1 ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignRight | Qt::AlignTop);
        l->setCaption(QStringLiteral("-"));
        l->hide();
        label1_[size_t(k)] = l;
    }
    label2_ = new CaptionLabel(picture1_);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setFont(fixed);
    label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label2_->setCaption(QStringLiteral("-"));
    label2_->hide();
    label3_ = new CaptionLabel(picture1_);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setFont(sans);
    label3_->setCaption(QStringLiteral("Label3"));
    label3_->hide();

    hscroll1_ = new QScrollBar(Qt::Horizontal, client_);
    hscroll1_->setObjectName(QStringLiteral("HScroll1"));
    vscroll1_ = new QScrollBar(Qt::Vertical, client_);
    vscroll1_->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar *bar : {hscroll1_, vscroll1_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 0);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->hide();
    }
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int v) { picture1_->move(-v, picture1_->y()); });
    connect(vscroll1_, &QScrollBar::valueChanged, this, [this](int v) { picture1_->move(picture1_->x(), -v); });
    picture2_ = new QWidget(client_);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setAutoFillBackground(true);
    picture2_->hide();

    buildMenus(menuBar(), menus_);
    connectMenus();

    // The client area is exactly the picture; the window stands in the
    // middle of the screen.
    resize(kPictureWidth, kPictureHeight + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect sg = screen->geometry();
        move(sg.x() + (sg.width() - frameGeometry().width()) / 2, sg.y() + (sg.height() - frameGeometry().height()) / 2);
    }
}

void Form1::start(const QString &tail)
{
    if (!tail.isEmpty()) loadpath(tail);
}

void Form1::connectMenus()
{
    const Form1Menus &m = menus_;
    connect(m.menu1[1], &QAction::triggered, this, &Form1::openFile);
    connect(m.menu1[4], &QAction::triggered, this, &QWidget::close);
    connect(m.menu2[1], &QAction::triggered, this, &Form1::copyPicture);
    connect(m.menu2[3], &QAction::triggered, this, &Form1::reverse);
    // Zone lines and captions: the item's own check mark flips, the
    // overlays are redrawn over the kept background.
    for (int i = 1; i <= 4; ++i) connect(m.menu31[size_t(i)], &QAction::triggered, this, [this] { drawpath(false); });
    for (int i = 1; i <= 2; ++i) connect(m.menu35[size_t(i)], &QAction::triggered, this, [this] { drawpath(false); });
    // Curvature and vertical scale: one item of the group checked.
    for (int i = 1; i <= 2; ++i) {
        QAction *a = m.menu32[size_t(i)];
        connect(a, &QAction::triggered, this, [this, a] { chooseOnly(a, &menus_.menu32[1], 2, true); });
    }
    for (int i = 1; i <= 6; ++i) {
        QAction *a = m.menu33[size_t(i)];
        connect(a, &QAction::triggered, this, [this, a] { chooseOnly(a, &menus_.menu33[1], 6, true); });
    }
    for (int i = 1; i <= 3; ++i) {
        connect(m.menu34[size_t(i)], &QAction::triggered, this, [this, i] {
            const size_t k = size_t(i - 1);
            st_.pathcolor[k] = pickcolor(this, st_.pathcolor[k]);
            drawpath(true);
        });
    }
    connect(m.menu4[1], &QAction::triggered, this, &Form1::about);
}

void Form1::chooseOnly(QAction *chosen, QAction *const *items, int count, bool full)
{
    for (int i = 0; i < count; ++i) items[i]->setChecked(items[i] == chosen);
    drawpath(full);
}

void Form1::loadpath(const QString &file)
{
    // The file is read whole before anything of the viewer changes: a file
    // that stops short leaves the profile on screen and its tables as they
    // were, so the cursor still reads the path that is drawn.
    PathFileData d;
    {
        WaitCursor wait;
        st_.pathfile = file;
        QFile f(locate(file));
        // Only a plain file: a folder does not read, a pipe or device may never end.
        if (QFileInfo(f.fileName()).isFile() && f.open(QIODevice::ReadOnly)) {
            d = readPathFile(f);
            f.close();
        } else {
            d.messages = 1;
        }
        if (d.redraw) {
            for (int k = 1; k <= 2; ++k) {
                const size_t i = size_t(k);
                if (d.hasName[i]) st_.sitename[i] = d.sitename[i];
                if (d.hasAnt[i]) st_.siteant[i] = d.siteant[i];
            }
            if (d.hasFreq) st_.pathfreq = d.freq;
            if (d.hasK) st_.kfactor = d.kfactor;
            // Samples the file does not give are 0, as is every clearance
            // until the drawing computes it.
            for (int i = 1; i <= kSamples; ++i) {
                const size_t k = size_t(i);
                const bool read = i <= d.samples;
                st_.pdist[k] = read ? d.pdist[k] : 0;
                st_.palt[k] = read ? d.palt[k] : 0;
                st_.pcode[k] = read ? d.pcode[k] : 0;
                st_.pcover[k] = read ? d.pcover[k] : 0;
                st_.pclear[k] = 0;
            }
        }
    }
    for (int i = 0; i < d.messages; ++i)
        msgbox(QString::fromLatin1(kFileError), mbOK | mbExclamation, viewerTitle(), this);
    if (d.redraw) drawpath(true);
}

void Form1::drawpath(bool full)
{
    WaitCursor wait;
    label1_[1]->hide();
    label1_[2]->hide();
    label2_->hide();
    label3_->hide();
    line1_->hide();
    st_.curveground = menus_.menu32[1]->isChecked();
    for (int k = 0; k < 4; ++k) st_.fresnelopt[size_t(k)] = menus_.menu31[size_t(k + 1)]->isChecked();
    int scale = 7;
    for (int j = 1; j <= 6; ++j)
        if (menus_.menu33[size_t(j)]->isChecked()) {
            scale = j;
            break;
        }

    const int W = picture1_->width(), H = picture1_->height();
    Geometry g;
    if (!computeProfile(st_, scale, W, H, g)) return;  // fewer than 3 samples: the picture stays as it is

    if (full) {
        picture1_->clearStored();
        paintBackground(picture1_->image(), st_, g);
        picture1_->keep();
    } else {
        picture1_->cls();
    }
    paintOverlays(picture1_->image(), st_, g);
    picture1_->update();

    if (menus_.menu35[1]->isChecked()) {
        label1_[1]->setCaption(siteCaption(st_, 1));
        label1_[1]->move(3, 3);
        label1_[2]->setCaption(siteCaption(st_, 2));
        label1_[2]->move(W - label1_[2]->width() - 4, 3);
        label1_[1]->show();
        label1_[2]->show();
    }
    if (menus_.menu35[2]->isChecked()) {
        label2_->setCaption(propagationCaption(st_, g));
        label2_->move(int(roundEven((W - label2_->width()) / 2.0)), 3);
        label2_->show();
    }
    movecursor(float(st_.mincleardist), cursorDistance);
}

void Form1::movecursor(float x, int mode)
{
    const int W = picture1_->width(), H = picture1_->height();
    st_.cursorpos = cursorTarget(st_, x, mode, W);
    if (st_.distmax <= 0 || st_.cursorpos < 1 || st_.cursorpos > kSamples) return;
    const int c = st_.cursorpos;

    int xc = 0, top = 0;
    if (!toPixel(xpixel(st_, st_.pdist[size_t(c)], W), xc)) return;
    if (!toPixel(ypixel(st_, readoutAltitude(st_, c), H), top)) return;
    label3_->setCaption(readoutCaption(st_, c));
    // The read-out stands on the inner side of the line and above the
    // terrain point when it would run off the bottom.
    int left = xc;
    if (float(W) / 2 < float(xc)) {
        left = xc - label3_->width();
        label3_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    } else {
        label3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (top + label3_->height() > H) top -= label3_->height();
    label3_->move(left, top);
    label3_->show();
    line1_->setGeometry(xc, 0, 1, H + 1);
    line1_->show();
}

void Form1::arrangewindow()
{
    if (isMinimized()) return;
    QPoint pos = picture1_->pos();
    if (pos.x() > 0) pos.setX(0);
    if (pos.y() > 0) pos.setY(0);
    picture1_->move(pos);

    const int barHeight = hscroll1_->sizeHint().height();
    const int barWidth = vscroll1_->sizeHint().width();
    int aw = client_->width(), ah = client_->height();
    int vw = picture1_->width(), vh = picture1_->height();
    bool hbar = false, vbar = false;
    while (aw < vw || ah < vh) {
        if (aw < vw) {
            vw = aw;
            if (!hbar) {
                hbar = true;
                ah -= barHeight;
            }
        }
        if (ah < vh) {
            vh = ah;
            if (!vbar) {
                vbar = true;
                aw -= barWidth;
            }
        }
    }
    vw = max(0, vw);
    vh = max(0, vh);
    vscroll1_->setVisible(vbar);
    if (vbar) vscroll1_->raise();
    hscroll1_->setVisible(hbar);
    if (hbar) hscroll1_->raise();
    hscroll1_->setGeometry(0, vh, vw, barHeight);
    vscroll1_->setGeometry(vw, 0, barWidth, vh);
    hscroll1_->setRange(0, max(0, picture1_->width() - vw));
    vscroll1_->setRange(0, max(0, picture1_->height() - vh));
    if (hbar && vbar) {
        picture2_->setGeometry(vw, vh, barWidth, barHeight);
        picture2_->show();
        picture2_->raise();
    } else {
        picture2_->hide();
    }
}

void Form1::openFile()
{
    const QString file = getopenfile(this, st_.pathfile, QStringLiteral("Fichier texte formatté (TXT)"),
                                     QStringLiteral("*.txt"), QStringLiteral("Ouvrir un parcours radio"), QString());
    if (!file.isEmpty()) loadpath(file);
}

void Form1::copyPicture()
{
    QClipboard *cb = QGuiApplication::clipboard();
    if (!cb) return;
    cb->clear();
    cb->setImage(picture1_->image());
}

void Form1::reverse()
{
    reversePath(st_);
    drawpath(true);
}

void Form1::about()
{
    const QString text = QStringLiteral("Visionneur de parcours radio de Kestrova") + QLatin1Char('\r') +
                         QStringLiteral("Version %1.%2").arg(version::major).arg(version::minor) +
                         QLatin1Char('\r') + QStringLiteral("Kestrova");
    msgbox(text, mbOK | mbInformation, viewerTitle(), this);
}

void Form1::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Left) movecursor(-1, cursorStep);
    else if (e->key() == Qt::Key_Right) movecursor(+1, cursorStep);
    else QMainWindow::keyPressEvent(e);
}

void Form1::closeEvent(QCloseEvent *e)
{
    if (msgbox(QStringLiteral("Terminer ") + viewerTitle(), mbYesNo | mbQuestion, viewerTitle(), this) == idYes)
        e->accept();
    else
        e->ignore();
}

bool Form1::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == client_ && e->type() == QEvent::Resize) arrangewindow();
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace zk::pathviewer
