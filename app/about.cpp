#include "about.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "base/version.h"
#include "msgbox.h"

namespace zk {

frmAbout::frmAbout(QWidget *owner, const QString &company) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
    const QString appcompany = company.isNull() ? version::companyName() : company;

    // 1. The main window's icon; 2. caption.
    if (owner) setWindowIcon(owner->window()->windowIcon());
    setWindowTitle(QStringLiteral("À propos de ") + appTitle());

    auto *icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    icon->setFixedSize(32, 32);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title_->setFont(big);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("lblVersion"));
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("lblDescription"));
    link_ = new QLabel(this);
    link_->setObjectName(QStringLiteral("Label1"));
    link_->setCursor(Qt::PointingHandCursor);
    QPalette lp = link_->palette();
    lp.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link_->setPalette(lp);
    QFont uf = link_->font();
    uf.setUnderline(true);
    link_->setFont(uf);
    link_->installEventFilter(this);

    // 3-6. Texts.
    version_->setText(QStringLiteral("Version %1.%2.%3").arg(version::major).arg(version::minor).arg(version::revision));
    title_->setText(appTitle());
    description_->setText(version::fileDescription() + QStringLiteral("\n") + appcompany);
    link_->setText(version::branded(appcompany) ? version::brandedWebAddress() : version::plainWebAddress());

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    sysinfo_ = new QPushButton(QStringLiteral("&Info système ..."), this);
    sysinfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysinfo_, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(title_, 0, 1);
    grid->addWidget(version_, 1, 1);
    grid->addWidget(description_, 2, 1);
    grid->addWidget(link_, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(sysinfo_);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setRowMinimumHeight(3, 30);
    setFixedSize(sizeHint());
}

void frmAbout::StartSysInfo()
{
    // There is no system-information tool to find or start on this platform.
    msgbox(QStringLiteral("Information système non disponible"), mbOK, QString(), this);
}

void frmAbout::Label1_Click()
{
    // A failure to open the address is ignored; the box closes either way.
    QDesktopServices::openUrl(QUrl(link_->text().toLower()));
    accept();
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zk
