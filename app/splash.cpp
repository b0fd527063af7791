#include "splash.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "base/artwork.h"
#include "base/version.h"

namespace zk {

frmSplash::frmSplash(QWidget *owner, const QString &company)
    : QFrame(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QString appcompany = company.isNull() ? version::companyName() : company;

    picLogo_ = new QLabel(this);
    picLogo_->setObjectName(QStringLiteral("picLogo"));
    picLogo_->setPixmap(artwork::programIcon());
    picLogo_->setFixedSize(32, 32);
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(artwork::organisationLogo());
    image1_->hide();

    product_ = new QLabel(this);
    product_->setObjectName(QStringLiteral("lblProductName"));
    QFont big = product_->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    product_->setFont(big);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("lblVersion"));
    QFont mid = version_->font();
    mid.setPointSizeF(mid.pointSizeF() * 1.2);
    version_->setFont(mid);
    company_ = new QLabel(this);
    company_->setObjectName(QStringLiteral("lblCompany"));

    // Load: company, version (major.minor), product.
    company_->setText(appcompany);
    version_->setText(QStringLiteral("Version %1.%2").arg(version::major).arg(version::minor));
    product_->setText(version::productName());
    if (version::branded(appcompany)) {
        picLogo_->setPixmap(image1_->pixmap());
        product_->setText(product_->text() + QStringLiteral("\n") + version::organisation());
        version_->setText(version_->text() + QStringLiteral("\n visitez ") + version::brandedWebAddress());
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(10);
    grid->addWidget(picLogo_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(product_, 0, 1);
    grid->addWidget(version_, 1, 1);
    grid->addWidget(company_, 2, 1);
    adjustSize();
    setFixedSize(std::max(width(), 420), std::max(height(), 160));

    // Centred on the screen.
    if (QScreen *s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

QPixmap frmSplash::logo() const { return picLogo_->pixmap(); }

}  // namespace zk
