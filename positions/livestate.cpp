#include "positions/livestate.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLabel>
#include <QTime>

#include "base/controls.h"
#include "base/mainframe.h"
#include "radio/netdraw.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk::positions {

LiveHooks livehooks;
ScheduleState sched;

namespace {

QString lookup(const QString &name)
{
    const QHostInfo info = QHostInfo::fromName(name.trimmed());
    if (info.error() != QHostInfo::NoError) return QString();
    for (const QHostAddress &a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) return a.toString();
    return QString();
}

struct Installer {
    Installer() { resetlivehooks(); }
} installer;

}  // namespace

void resetlivehooks()
{
    livehooks.clock = [] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; };
    livehooks.utcclock = [] { return QDateTime::currentDateTimeUtc(); };
    // A moved unit's old mark is in the drawing layer: clear it and draw again.
    livehooks.drawunit = [](int unit) { zk::drawunit(unit, true); };
    livehooks.drawnets = [] { zk::drawnets(); };
    livehooks.resolve = lookup;
}

double now() { return livehooks.clock ? livehooks.clock() : 0.0; }

void showlight(int light, bool visible)
{
    if (!mainform) return;
    if (QLabel *l = mainform->label3(light)) l->setVisible(visible);
    if (Shape *s = mainform->shape2(light)) s->setVisible(visible);
}

void paintlight(int light, const QColor &c)
{
    if (!mainform) return;
    if (Shape *s = mainform->shape2(light)) s->setFillColor(c);
}

void flashlight(int light)
{
    paintlight(light, kLightFlash);
    armlight(light);
}

void armlight(int light)
{
    if (light >= 0 && light < 3) sched.ledtime[size_t(light)] = now() + 1.0;
}

int tableunit(int unit) { return (unit >= 1 && unit <= kUnits) ? unit : 0; }

}  // namespace zk::positions
