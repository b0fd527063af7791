// The one message-box function of the program. Every question and error the
// user sees goes through msgbox(); tests replace the answers with a script
// and read back what would have been shown, so nothing ever blocks a test.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace zk {

// Buttons and icons, combined with |, as the system's message boxes use them.
enum MsgFlags : int {
    mbOK = 0,
    mbOKCancel = 1,
    mbAbortRetryIgnore = 2,
    mbYesNoCancel = 3,
    mbYesNo = 4,
    mbRetryCancel = 5,
    mbCritical = 16,
    mbQuestion = 32,
    mbExclamation = 48,
    mbInformation = 64,
    mbDefaultButton2 = 256,
    mbDefaultButton3 = 512,
};

// Answers.
enum MsgAnswer : int { idOK = 1, idCancel = 2, idAbort = 3, idRetry = 4, idIgnore = 5, idYes = 6, idNo = 7 };

// The application title, used as the caption of every message box.
QString appTitle();

// Shows a modal message box and returns the button pressed. The caption is
// the application title unless one is given.
int msgbox(const QString &text, int flags = mbOK, const QString &caption = QString(), QWidget *owner = nullptr);

// Test seam. While a script is installed, msgbox() records each call and
// returns the next scripted answer (or the default button when the script has
// run dry) without showing anything.
struct MsgRecord {
    QString text;
    int flags = 0;
    QString caption;
};
class MsgScript {
public:
    MsgScript();
    ~MsgScript();
    MsgScript(const MsgScript &) = delete;
    MsgScript &operator=(const MsgScript &) = delete;

    void answer(int a) { answers_.append(a); }
    const QList<MsgRecord> &shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

private:
    friend int msgbox(const QString &, int, const QString &, QWidget *);
    QList<int> answers_;
    QList<MsgRecord> shown_;
    MsgScript *previous_ = nullptr;
};

}  // namespace zk
