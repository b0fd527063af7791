#include "positions/frmDebug.h"

#include <QCloseEvent>
#include <QFont>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

#include "base/mainframe.h"
#include "base/placement.h"
#include "positions/sharing.h"

namespace zk::positions {

bool monitoron = false;

namespace {
QPointer<frmDebug> monitor;
}

frmDebug::frmDebug(QWidget *owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(QStringLiteral("Moniteur du canal Multicast"));
    setAttribute(Qt::WA_DeleteOnClose);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    // "Fixedsys": the monospace face, so that the datagram columns line up.
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    List1->setFont(fixed);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(List1);
    const int w = QFontMetrics(fixed).horizontalAdvance(QString(72, QLatin1Char('0')));
    resize(w + 30, QFontMetrics(fixed).height() * (kMonitorLines + 1) + 10);
}

frmDebug::~frmDebug()
{
    if (monitor == this) monitoron = false;
}

void frmDebug::closeEvent(QCloseEvent *e)
{
    monitoron = false;
    e->accept();
}

void showmonitor()
{
    if (monitoron && monitor) return;
    monitor = new frmDebug(mainform);
    showPlaced(monitor);
    monitoron = true;
}

frmDebug *monitorwindow() { return monitoron ? monitor.data() : nullptr; }

void logmonitor(const QString &text)
{
    if (!monitoron || !monitor) return;
    QListWidget *l = monitor->List1;
    while (l->count() >= kMonitorLines) delete l->takeItem(0);
    l->addItem(text);
    l->setCurrentRow(l->count() - 1);
}

}  // namespace zk::positions
