#include "msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zk {

namespace {
MsgScript *g_script = nullptr;

int defaultAnswer(int flags)
{
    const int buttons = flags & 7;
    const int def = (flags & mbDefaultButton3) ? 2 : (flags & mbDefaultButton2) ? 1 : 0;
    static const int kOrder[6][3] = {
        {idOK, idOK, idOK},       {idOK, idCancel, idCancel}, {idAbort, idRetry, idIgnore},
        {idYes, idNo, idCancel},  {idYes, idNo, idNo},        {idRetry, idCancel, idCancel},
    };
    return kOrder[buttons <= 5 ? buttons : 0][def];
}
}  // namespace

QString appTitle() { return QStringLiteral("Kestrova"); }

MsgScript::MsgScript() : previous_(g_script) { g_script = this; }
MsgScript::~MsgScript() { g_script = previous_; }

QStringList MsgScript::texts() const
{
    QStringList t;
    for (const MsgRecord &r : shown_) t << r.text;
    return t;
}

int msgbox(const QString &text, int flags, const QString &caption, QWidget *owner)
{
    const QString title = caption.isNull() ? appTitle() : caption;
    if (g_script) {
        g_script->shown_.append({text, flags, title});
        if (!g_script->answers_.isEmpty()) return g_script->answers_.takeFirst();
        return defaultAnswer(flags);
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return defaultAnswer(flags);

    QMessageBox box(owner ? owner : QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (flags & 0x70) {
    case mbCritical: box.setIcon(QMessageBox::Critical); break;
    case mbQuestion: box.setIcon(QMessageBox::Question); break;
    case mbExclamation: box.setIcon(QMessageBox::Warning); break;
    case mbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct B { QMessageBox::StandardButton sb; int id; const char *label; };
    QList<B> buttons;
    switch (flags & 7) {
    case mbOKCancel: buttons = {{QMessageBox::Ok, idOK, "OK"}, {QMessageBox::Cancel, idCancel, "Annuler"}}; break;
    case mbAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, idAbort, "&Abandonner"}, {QMessageBox::Retry, idRetry, "&Réessayer"}, {QMessageBox::Ignore, idIgnore, "&Ignorer"}};
        break;
    case mbYesNoCancel: buttons = {{QMessageBox::Yes, idYes, "&Oui"}, {QMessageBox::No, idNo, "&Non"}, {QMessageBox::Cancel, idCancel, "Annuler"}}; break;
    case mbYesNo: buttons = {{QMessageBox::Yes, idYes, "&Oui"}, {QMessageBox::No, idNo, "&Non"}}; break;
    case mbRetryCancel: buttons = {{QMessageBox::Retry, idRetry, "&Réessayer"}, {QMessageBox::Cancel, idCancel, "Annuler"}}; break;
    default: buttons = {{QMessageBox::Ok, idOK, "OK"}}; break;
    }
    QMessageBox::StandardButtons sbs;
    for (const B &b : buttons) sbs |= b.sb;
    box.setStandardButtons(sbs);
    for (const B &b : buttons) box.button(b.sb)->setText(QString::fromUtf8(b.label));
    const int def = (flags & mbDefaultButton3) ? 2 : (flags & mbDefaultButton2) ? 1 : 0;
    if (def < buttons.size()) box.setDefaultButton(buttons[def].sb);
    const int r = box.exec();
    for (const B &b : buttons)
        if (b.sb == r) return b.id;
    // Closing the box with Esc or its title bar answers Cancel where there is one.
    for (const B &b : buttons)
        if (b.id == idCancel) return idCancel;
    return buttons.last().id;
}

}  // namespace zk
