#include "radio/frmReport.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "base/mainframe.h"
#include "base/mdi.h"
#include "radio/quality.h"
#include "radio/radiodata.h"

namespace zk {

namespace {

QString arrayName(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

}  // namespace

frmReport::frmReport(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Rapport de performance"));
    setModal(true);
    resize(760, 480);

    // The frame along the top holds the network list, the kinds of report
    // and the two buttons: they lie in it, not over it.
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(0, 0, 760, 72);
    Frame1->lower();

    Label1 = new QLabel(QStringLiteral("Réseau"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 12, 56, 20);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(64, 8, 240, 24);
    static const char *const kinds[] = {"Liens directs (dB)", "Avec retransmissions", "Liens directs (S-unit)"};
    for (int i = 0; i < 3; ++i) {
        Option1[size_t(i)] = new QRadioButton(QString::fromUtf8(kinds[i]), Frame1);
        Option1[size_t(i)]->setObjectName(arrayName("Option1", i));
        Option1[size_t(i)]->setGeometry(8 + 180 * i, 42, 176, 22);
        connect(Option1[size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Command1 = new QPushButton(QStringLiteral("Imprime"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(560, 8, 90, 26);
    Command1->setAutoDefault(false);
    Command2 = new QPushButton(QStringLiteral("Fichier"), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(660, 8, 90, 26);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, [this] { netreport(1, kNets, int16_t(reportkind_), kReportPrinter); });
    connect(Command2, &QPushButton::clicked, this, [this] { netreport(1, kNets, int16_t(reportkind_), kReportFile); });

    canvas_ = QImage(size(), QImage::Format_RGB32);
    clearcanvas();
    surface_.clear = [this] {
        clearcanvas();
        drawn_.clear();
    };
    surface_.canvas = [this] { return &canvas_; };
    surface_.top = [this] { return reporttop(); };
    surface_.font = [this] { return font(); };
    surface_.item = [this](const ReportItem &it) { drawn_.push_back(it); };
    surface_.done = [this] { update(); };
    setreportsurface(&surface_);

    // Form_Load.
    reportkind_ = 1;
    Option1[1]->setChecked(true);
    calcnets(-1);
    for (int n = 1; n <= kNets; ++n) Combo1->addItem(fixedText(nets[n].name).trimmed());
    curnet = int16_t(std::clamp<int>(curnet, 1, kNets));
    Combo1->setCurrentIndex(curnet - 1);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    Combo1_Click();
}

frmReport::~frmReport() { setreportsurface(nullptr); }

int frmReport::reporttop() const { return Frame1->geometry().bottom() + 1; }

void frmReport::clearcanvas() { canvas_.fill(palette().color(QPalette::Window)); }

void frmReport::Combo1_Click()
{
    if (Combo1->currentIndex() < 0) return;
    curnet = int16_t(Combo1->currentIndex() + 1);
    netreport(curnet, curnet, int16_t(reportkind_), kReportWindow);
}

void frmReport::Option1_Click(int index)
{
    reportkind_ = index;
    netreport(curnet, curnet, int16_t(index), kReportWindow);
}

void frmReport::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, canvas_);
}

void frmReport::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    Frame1->setGeometry(0, 0, width(), Frame1->height());
    // The persistent drawing grows with the window and keeps what it holds.
    if (width() > canvas_.width() || height() > canvas_.height()) {
        QImage grown(std::max(width(), canvas_.width()), std::max(height(), canvas_.height()), QImage::Format_RGB32);
        grown.fill(palette().color(QPalette::Window));
        QPainter(&grown).drawImage(0, 0, canvas_);
        canvas_ = grown;
    }
}

void frmReport::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(e);
}

void mnuReport_Click()
{
    {
        frmReport dlg(mainWindow());
        dlg.exec();
    }
    if (QMainWindow *m = mainWindow()) m->show();
}

void installreportmenu(MainFrame *w)
{
    if (!w) return;
    if (QAction *a = w->action(QStringLiteral("mnuReport"))) {
        QObject::connect(a, &QAction::triggered, w, [] { mnuReport_Click(); });
        a->setEnabled(true);
    }
}

}  // namespace zk
