// The controls of the program's forms, made the same way everywhere: named
// (other code and the tests find them by name) and placed in pixels of
// their parent. Buttons never become the default button, so Enter in a
// field never presses a button behind the user's back.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>

namespace zk::form {

template <class W>
W *named(W *w, const QString &name, const QRect &at)
{
    w->setObjectName(name);
    w->setGeometry(at);
    return w;
}

inline QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &at)
{
    return named(new QLabel(text, parent), name, at);
}

inline QLineEdit *field(QWidget *parent, const QString &name, const QRect &at)
{
    return named(new QLineEdit(parent), name, at);
}

inline QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &at)
{
    auto *b = named(new QPushButton(caption, parent), name, at);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

inline QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, const QRect &at)
{
    return named(new QCheckBox(caption, parent), name, at);
}

inline QRadioButton *option(QWidget *parent, const QString &name, const QString &caption, const QRect &at)
{
    return named(new QRadioButton(caption, parent), name, at);
}

}  // namespace zk::form
