#include "mainframe.h"

#include <QAction>

namespace zk {

MainFrame *mainform = nullptr;

void connectitem(MainFrame *w, const QString &name, const std::function<void()> &run)
{
    QAction *a = w ? w->action(name) : nullptr;
    if (!a) return;
    QObject::connect(a, &QAction::triggered, w, [run] { run(); });
    a->setEnabled(true);
}

}  // namespace zk
