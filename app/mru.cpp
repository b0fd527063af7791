#include "mru.h"

#include <QAction>

#include <array>

#include "app/mainwindow.h"
#include "app/shutdown.h"
#include "base/routines.h"
#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/netdoc.h"

namespace zk {

namespace {

bool samefile(const QString &a, const QString &b) { return fileof(a).compare(fileof(b), Qt::CaseInsensitive) == 0; }

}  // namespace

QString mrucaption(int i)
{
    if (i < 0 || i > 3) return QString();
    const QString &f = settings.mru[size_t(i)];
    if (f.isEmpty()) return QString();
    return QStringLiteral("&%1 ").arg(i + 1) + fileof(f);
}

void showmru()
{
    if (!mainform) return;
    for (int i = 0; i < 4; ++i) {
        QAction *a = mainwindow()->mnuFileMRU(i);
        if (!a) continue;
        if (settings.mru[size_t(i)].isEmpty()) {
            a->setVisible(false);
        } else {
            a->setText(mrucaption(i));
            a->setVisible(true);
            a->setEnabled(true);
        }
    }
    mainform->setWindowTitle(QStringLiteral("..\\") + fileof(settings.lastproject) + QStringLiteral(" - ") + appTitle());
}

void addmru(QString &file)
{
    file = file.trimmed();
    std::array<QString, 4> &mru = settings.mru;

    // The same file name already listed: it trades places with the first.
    int found = -1;
    for (int i = 0; i < 4; ++i) {
        if (!mru[size_t(i)].isEmpty() && samefile(mru[size_t(i)], file)) {
            found = i;
            break;
        }
    }
    if (found >= 0) {
        mru[size_t(found)] = mru[0];
    } else {
        for (int i = 3; i >= 1; --i) {
            mru[size_t(i)] = mru[size_t(i - 1)];
            if (!mru[size_t(i)].isEmpty() && !paths::exists(mru[size_t(i)])) mru[size_t(i)].clear();
        }
    }
    mru[0] = file;
    showmru();
}

void restoremru()
{
    // The list starts empty; the stored entries come back last first, so
    // that each one added pushes the later ones down into their places.
    const std::array<QString, 4> stored = settings.mru;
    settings.mru = {};
    for (int k = 3; k >= 0; --k) {
        QString f = stored[size_t(k)];
        if (!f.trimmed().isEmpty() && paths::exists(f.trimmed())) addmru(f);
    }
}

void loadprevious(int16_t index)
{
    if (index < 0 || index > 3) return;
    const QString file = settings.mru[size_t(index)];
    if (file.isEmpty() || file.compare(settings.lastproject, Qt::CaseInsensitive) == 0) return;
    if (CleanNet()) return;
    opennet(file);
}

void frmMain::loadprevious(int16_t index) { zk::loadprevious(index); }

}  // namespace zk
