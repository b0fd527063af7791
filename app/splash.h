// The start-up banner `frmSplash`: product name, version and company from
// the version block, over the program's icon; in the branded variant the
// organisation's logo and name, the maker's web address and a white ground.
#pragma once

#include <QFrame>

class QLabel;

namespace zk {

class frmSplash : public QFrame {
    Q_OBJECT
public:
    // `company` is the version block's company name, which selects the variant.
    explicit frmSplash(QWidget *owner, const QString &company = QString());

    QLabel *picLogo() const { return picLogo_; }
    QLabel *image1() const { return image1_; }
    QLabel *lblProductName() const { return product_; }
    QLabel *lblVersion() const { return version_; }
    QLabel *lblCompany() const { return company_; }
    // The picture that the start-up gives the main window as its icon.
    QPixmap logo() const;

private:
    QLabel *picLogo_ = nullptr;
    QLabel *image1_ = nullptr;
    QLabel *product_ = nullptr;
    QLabel *version_ = nullptr;
    QLabel *company_ = nullptr;
};

}  // namespace zk
