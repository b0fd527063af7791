// The About box `frmAbout`: title, version, description and the maker's web
// address (which opens in the browser and closes the box), with the
// system-information button, which on this platform always reports that the
// tool is not available.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zk {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // `company` is the version block's company name, which selects the web
    // address (tests pass their own).
    explicit frmAbout(QWidget *owner, const QString &company = QString());

    QLabel *lblTitle() const { return title_; }
    QLabel *lblVersion() const { return version_; }
    QLabel *lblDescription() const { return description_; }
    QLabel *label1() const { return link_; }
    QPushButton *cmdOK() const { return ok_; }
    QPushButton *cmdSysInfo() const { return sysinfo_; }

    // Starts the system-information tool, or says it is not available.
    void StartSysInfo();
    // Opens the web address (in lower case) and closes the box.
    void Label1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *title_ = nullptr;
    QLabel *version_ = nullptr;
    QLabel *description_ = nullptr;
    QLabel *link_ = nullptr;
    QPushButton *ok_ = nullptr;
    QPushButton *sysinfo_ = nullptr;
};

}  // namespace zk
