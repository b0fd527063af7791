// frmCity, the city list ("Villes"): the places of the cities file
// "cities.dat", one row each (name, longitude and latitude texts); the user
// picks one and "Appliquer" hands its position back through editmap.lon and
// editmap.lat and its name through linktext1.
//
// The cities file (Windows-1252 text, CR LF): a header line, then one place
// a line, four fields separated by commas (double quotes are dropped
// wherever they stand, and a comma always separates):
//   code, latitude (north positive), longitude (WEST positive), name
// Any line without exactly three commas is not a place and is skipped.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <optional>

class QIODevice;
class QLabel;
class QListWidget;
class QPushButton;

namespace zk {

// The list row of one line of the cities file: the name cut or padded to 22
// characters, the longitude text, a blank and the latitude text (44
// characters); nothing when the line is not a place.
std::optional<QString> cityrow(const QByteArray &line);

// The rows of a whole cities file (the first line is the header).
QStringList cityrows(QIODevice &file);

// The position and name a row stands for (whole seconds, as the row shows).
struct CityChoice {
    float lon = 0, lat = 0;
    QString name;  // 20 characters, trailing blanks kept
};
CityChoice cityfromrow(const QString &row);

class frmCity : public QDialog {
    Q_OBJECT
public:
    explicit frmCity(QWidget *owner = nullptr);

    bool chosen() const { return chosen_; }
    const CityChoice &choice() const { return choice_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void loadlist();
    void onList1Click(int row);
    void onCommand3();

    CityChoice choice_;
    bool chosen_ = false;

    QListWidget *List1;
    QLabel *Label1;
    QPushButton *Command3, *Command4;
};

}  // namespace zk
