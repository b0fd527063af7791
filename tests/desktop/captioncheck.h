// Checks of a window as drawn in the interface face: every caption (label,
// check box, option button, push button, group title) shows whole inside
// its control, every text box is wide enough for the text it holds, and no
// two controls side by side in one container overlap. Only the program's
// own controls count: those with a name (Qt's internal parts are unnamed or
// named "qt_...").
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QtMath>

namespace desktoptest {

inline bool ours(const QWidget *w)
{
    const QString n = w->objectName();
    return !n.isEmpty() && !n.startsWith(QLatin1String("qt_"));
}

inline QString where(const QString &form, const QWidget *w)
{
    return form + QLatin1Char('.') + w->objectName() + QStringLiteral(" (") + QLatin1String(w->metaObject()->className()) +
           QLatin1Char(')');
}

inline QString shown(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\\n")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

// The width and height a caption needs, drawn as its control draws it.
inline QSize textSize(const QFontMetrics &fm, const QString &text, int flags = Qt::TextShowMnemonic)
{
    return fm.size(flags, text);
}

// The faults of one label: its text against its contents rectangle.
inline void checkLabel(const QString &form, const QLabel *l, QStringList &faults)
{
    if (l->text().isEmpty() || !l->pixmap().isNull()) return;
    const QRect cr = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    const bool rich = l->textFormat() == Qt::RichText || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    QSize need;
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        if (l->wordWrap()) doc.setTextWidth(cr.width());
        need = QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
    } else {
        const QFontMetrics fm(l->font());
        const int flags = l->wordWrap() ? Qt::TextWordWrap : 0;
        need = fm.boundingRect(QRect(0, 0, l->wordWrap() ? cr.width() : 100000, 100000), flags, l->text()).size();
        // One line is as high as the face's ascent and descent.
        if (need.height() < 2 * fm.lineSpacing()) need.setHeight(fm.height());
    }
    if (need.width() > cr.width())
        faults << QStringLiteral("%1: %2 is %3 px wide in %4").arg(where(form, l), shown(l->text())).arg(need.width()).arg(cr.width());
    else if (need.height() > cr.height())
        faults << QStringLiteral("%1: %2 is %3 px high in %4").arg(where(form, l), shown(l->text())).arg(need.height()).arg(cr.height());
}

// A push button, check box or option button: its caption against the part
// of the control the style draws captions in.
inline void checkButton(const QString &form, const QAbstractButton *b, QStringList &faults)
{
    if (b->text().isEmpty()) return;
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    QStyle::SubElement part = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(b)) part = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(b)) part = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton *>(b)) return;
    QRect room = b->style()->subElementRect(part, &opt, b);
    if (part == QStyle::SE_PushButtonContents) {
        // The caption is centred in the button's face inside its frame.
        const int frame = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, b);
        room = b->rect().adjusted(frame, frame, -frame, -frame);
    }
    QSize need = textSize(QFontMetrics(b->font()), b->text());
    if (!b->icon().isNull()) need.rwidth() += b->iconSize().width() + 4;
    if (need.width() > room.width())
        faults << QStringLiteral("%1: %2 is %3 px wide in %4").arg(where(form, b), shown(b->text())).arg(need.width()).arg(room.width());
    else if (need.height() > room.height())
        faults << QStringLiteral("%1: %2 is %3 px high in %4").arg(where(form, b), shown(b->text())).arg(need.height()).arg(room.height());
}

inline void checkGroup(const QString &form, const QGroupBox *g, QStringList &faults)
{
    if (g->title().isEmpty()) return;
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (g->isCheckable()) opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    const int need = label.left() + textSize(QFontMetrics(g->font()), g->title()).width();
    if (need > g->width())
        faults << QStringLiteral("%1: title %2 ends at %3 px in %4").arg(where(form, g), shown(g->title())).arg(need).arg(g->width());
}

// A text box shows its whole text without scrolling it.
inline void checkField(const QString &form, const QLineEdit *e, QStringList &faults)
{
    if (e->text().isEmpty() || e->echoMode() != QLineEdit::Normal) return;
    const QMargins m = e->textMargins();
    const int frame = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e) : 0;
    const int room = e->width() - 2 * frame - m.left() - m.right() - 2 * 2;  // QLineEdit's own 2 px margin each side
    const int need = QFontMetrics(e->font()).horizontalAdvance(e->text());
    if (need > room) faults << QStringLiteral("%1: %2 is %3 px wide in %4").arg(where(form, e), shown(e->text())).arg(need).arg(room);
}

// A control the user can see: shown, and not parked outside its container
// (some forms keep the controls of hidden pages out of view).
inline bool seen(const QWidget *w)
{
    if (!w->isVisible()) return false;
    for (; w && !w->isWindow(); w = w->parentWidget())
        if (!w->geometry().intersects(w->parentWidget()->rect())) return false;
    return true;
}

// Every fault of the window and its controls.
inline QStringList checkWindow(const QString &form, QWidget *window)
{
    QStringList faults;
    QList<QWidget *> all = window->findChildren<QWidget *>();
    all.prepend(window);
    for (QWidget *w : all) {
        if (!seen(w) || !ours(w)) continue;
        if (auto *l = qobject_cast<QLabel *>(w)) checkLabel(form, l, faults);
        else if (auto *b = qobject_cast<QAbstractButton *>(w)) checkButton(form, b, faults);
        else if (auto *g = qobject_cast<QGroupBox *>(w)) checkGroup(form, g, faults);
        else if (auto *e = qobject_cast<QLineEdit *>(w)) checkField(form, e, faults);
    }
    // Controls side by side in one container. Overlays that take no input
    // (a cursor line, a read-out banner over a picture) lie over the other
    // controls on purpose; so do the names and icons of stations, which sit
    // on a picture where the map puts them; and a picture larger than its
    // window scrolls under the window's scroll bars.
    for (QWidget *parent : all) {
        if (!seen(parent) || parent->inherits("zk::PicBox")) continue;
        QList<QWidget *> kids;
        for (QObject *o : parent->children())
            if (auto *k = qobject_cast<QWidget *>(o);
                k && !k->isWindow() && seen(k) && ours(k) && !k->testAttribute(Qt::WA_TransparentForMouseEvents))
                kids << k;
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j) {
                const QRect a = kids[i]->geometry(), b = kids[j]->geometry();
                const bool scrolled = !parent->rect().contains(a) || !parent->rect().contains(b);
                if (a.intersects(b) && !scrolled)
                    faults << QStringLiteral("%1 overlaps %2 by %3 x %4 px")
                                  .arg(where(form, kids[i]), kids[j]->objectName())
                                  .arg((a & b).width())
                                  .arg((a & b).height());
            }
    }
    return faults;
}

}  // namespace desktoptest
